/* Lumadot's reference sign: reads display frames off the serial line into
   one of two frame buffers in the external SRAM and plays the last whole one
   on a 16-row panel, as docs/firmware.md describes. */
#include <8052.h>

#include "sign.h"

#include "effect.h"
#include "scan.h"
#include "serial.h"

volatile __data uint16_t frames_taken;

/* XRAM comes up random: the padding around each message and the dark row
   must read as unlit. */
static void clear_frames(void)
{
  __xdata uint8_t *at = &frames[0][0];
  __xdata uint8_t *end = at + sizeof frames;
  while (at != end) *at++ = 0;
  for (at = dark_row; at != dark_row + sizeof dark_row; ++at) *at = 0;
}

/* Bytes right of a message may hold an older, wider one. */
static void clear_right_of(uint8_t frame, uint8_t width)
{
  uint8_t strips = width > FRAME_NARROWEST ? (uint8_t)((width - FRAME_NARROWEST) * FRAME_STRIPS_PER_WIDTH) : 0;
  uint8_t row, n;
  for (row = 0; row < PANEL_ROWS; ++row) {
    __xdata uint8_t *at = row_end(frame, row) - PANEL_BYTES - strips;
    for (n = 0; n <= PANEL_BYTES; ++n) *at-- = 0;
  }
}

static void take_frame(void)
{
  uint8_t frame, width, speed, mode;
  ES = 0;
  frame = whole_frame;
  width = whole_header.width;
  speed = whole_header.speed;
  mode = whole_header.mode;
  frame_whole = 0;
  ES = 1;
  clear_right_of(frame, width);
  effect_start(frame, width, speed, mode);
  /* The step being prepared may be the old frame's: the new one starts now. */
  ET2 = 0;
  view_pending = 0;
  ET2 = 1;
  effect_view();
  /* Together, so the count changes at the refresh the frame starts at the earliest. */
  ET2 = 0;
  ++frames_taken;
  view_restart = 1;
  view_pending = 1;
  ET2 = 1;
}

void main(void)
{
  clear_frames();
  effect_start(1, 0, EFFECT_SLOWEST_SPEED, EFFECT_STILL); /* dark, and not the buffer the line fills first */
  scan_start();
  serial_start();
  EA = 1;
  for (;;) {
    if (frame_whole) {
      take_frame();
    } else if (!view_pending) {
      effect_next();
      effect_view();
      view_pending = 1;
    }
    serial_check_silence();
  }
}
