/* The sign's frame reader (frame_reader.h): built by sdcc for the 8051 and by the
   host compiler for the tests. Between frames head and display are both 0. */
#include "frame_reader.h"

struct frame_reader_state frame_reader;

void frame_reader_reset(void)
{
  frame_reader.head = 0;
  frame_reader.display = 0;
}

/* Head bytes after the width byte (the cast keeps sdcc from warning of an overflow). */
#define HEAD_AFTER_WIDTH ((uint8_t)(FRAME_HEAD_BYTES - 1))

/* The width byte: the head's other 255 bytes, then (width - 8) * 32 display bytes. */
static void start(uint8_t width)
{
  frame_reader.width = width;
  frame_reader.head = HEAD_AFTER_WIDTH;
  frame_reader.display = 0;
  if (width > FRAME_NARROWEST)
    frame_reader.display = (uint16_t)((uint16_t)(uint8_t)(width - FRAME_NARROWEST) << 5);
  frame_reader.index = 0xFFFF; /* the first display byte makes it 0 */
}

uint8_t frame_reader_byte(uint8_t byte)
{
  if (frame_reader.head != 0) {
    if (frame_reader.head == HEAD_AFTER_WIDTH)
      frame_reader.speed = byte;
    else if (frame_reader.head == HEAD_AFTER_WIDTH - 1)
      frame_reader.mode = byte;
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
