/* The sign's frame reader (frame_reader.h): built by sdcc for the 8051 and by the
   host compiler for the tests. Between frames head and display are both 0. */
#include "frame_reader.h"

#include <stddef.h>

/* The header is the frame's first bytes, field for field. */
typedef char frame_header_is_the_frames[offsetof(struct frame_header, width) == FRAME_WIDTH_AT &&
                                        offsetof(struct frame_header, speed) == FRAME_SPEED_AT &&
                                        offsetof(struct frame_header, mode) == FRAME_MODE_AT &&
                                        sizeof(struct frame_header) == FRAME_HEADER_BYTES ? 1 : -1];

struct frame_reader_state frame_reader;

void frame_reader_reset(void)
{
  frame_reader.head = 0;
  frame_reader.display = 0;
}

/* What `head` is when byte `at` of the head comes (the cast keeps sdcc from
   warning of an overflow). */
#define HEAD_LEFT_AT(at) ((uint8_t)(FRAME_HEAD_BYTES - (at)))

/* The width byte: the head's other 255 bytes, then (width - 8) * 32 display bytes. */
static void start(uint8_t width)
{
  frame_reader.header.width = width;
  frame_reader.head = HEAD_LEFT_AT(FRAME_WIDTH_AT + 1);
  frame_reader.display = 0;
  if (width > FRAME_NARROWEST)
    frame_reader.display = (uint16_t)((uint16_t)(uint8_t)(width - FRAME_NARROWEST) * FRAME_DISPLAY_BYTES_PER_WIDTH);
  frame_reader.index = 0xFFFF; /* the first display byte makes it 0 */
}

uint8_t frame_reader_byte(uint8_t byte)
{
  if (frame_reader.head != 0) {
    if (frame_reader.head == HEAD_LEFT_AT(FRAME_SPEED_AT))
      frame_reader.header.speed = byte;
    else if (frame_reader.head == HEAD_LEFT_AT(FRAME_MODE_AT))
      frame_reader.header.mode = byte;
    if (--frame_reader.head != 0 || frame_reader.display != 0)
      return FRAME_NOTHING;
    return FRAME_WHOLE;
  }
  if (frame_reader.display != 0) {
    ++frame_reader.index;
    if (--frame_reader.display != 0)
      return FRAME_DISPLAY_BYTE;
    return FRAME_DISPLAY_BYTE | FRAME_WHOLE;
  }
  if (byte != 0)
    start(byte);
  return FRAME_NOTHING;
}

uint8_t frame_reader_silence(void)
{
  if (frame_reader.head == 0 && frame_reader.display == 0)
    return FRAME_NOTHING;
  frame_reader_reset();
  return FRAME_DROPPED;
}
