/* Lumadot's reference sign: reads display frames off the serial line into
   one of the frame buffers in the XRAM and plays the last whole one on a
   16-row panel, as docs/firmware.md describes. */
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

/* Plays from the next refresh on; a frame taken is counted at that refresh. */
static void play(uint8_t frame, uint8_t width, uint8_t speed, uint8_t mode, uint8_t taken)
{
  effect_start(frame, width, speed, mode);
  /* The step being prepared may be the old frame's: the new one starts now. */
  scan_hold();
  view_pending = 0;
  scan_release();
  effect_view();
  /* Together, so the count changes at the refresh the frame starts at the earliest. */
  scan_hold();
  if (taken) ++frames_taken;
  view_restart = 1;
  view_pending = 1;
  scan_release();
}

#if FRAME_HELD_STRIPS < FRAME_MOST_STRIPS
#define FRAME_HELD_WIDTH ((uint8_t)(FRAME_NARROWEST + FRAME_HELD_CHARACTERS))
#endif

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
#if FRAME_HELD_STRIPS < FRAME_MOST_STRIPS
  /* The buffer kept this much of a longer message. */
  if (width > FRAME_HELD_WIDTH) width = FRAME_HELD_WIDTH;
#endif
  clear_right_of(frame, width);
  play(frame, width, speed, mode, 1);
}

void main(void)
{
  clear_frames();
  effect_start(0, 0, EFFECT_SLOWEST_SPEED, EFFECT_STILL); /* dark */
  scan_start();
  serial_start();
  EA = 1;
  for (;;) {
#if FRAME_BUFFERS == 1
    if (frame_coming) {
      /* The one buffer is about to be written: dark until the frame is whole. */
      frame_coming = 0;
      play(0, 0, EFFECT_SLOWEST_SPEED, EFFECT_STILL, 0);
    }
#endif
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
