/* The display frame and what the sign makes of its speed and mode bytes: the
   numbers both ends of the line are built from. The host's display_frame.h and
   sign_player take them from here, and so does the sign's firmware (firmware/),
   which sdcc compiles for the 8051, so a change to either end changes both.
   Plain C89 that C++ also takes: enumerators only, which cost the 8051 neither
   memory nor code, and no two enums mixed in one expression (C++20 warns).
   docs/frame.md describes the frame, the effects' paces and their cycles. */
#ifndef LUMADOT_FRAME_LAYOUT_H
#define LUMADOT_FRAME_LAYOUT_H

/* width, speed, mode | lead-in of zeros | display bytes | tail of zeros */
enum {
  FRAME_WIDTH_AT = 0,
  FRAME_SPEED_AT = 1,
  FRAME_MODE_AT = 2,
  FRAME_HEADER_BYTES = 3,
  FRAME_LEAD_IN_BYTES = 253,
  /* The display bytes start here. */
  FRAME_HEAD_BYTES = FRAME_HEADER_BYTES + FRAME_LEAD_IN_BYTES,
  /* The zeros our sender writes after the display bytes. */
  FRAME_TAIL_BYTES = 289,

  /* Widths up to this one have no display bytes. */
  FRAME_NARROWEST = 8,
  FRAME_WIDEST = 255,
  /* The message is 8x16 strips, 16 bytes each, byte r its row r; each width
     past the narrowest is two strips. */
  FRAME_ROWS = 16,
  FRAME_STRIP_BYTES = FRAME_ROWS,
  FRAME_STRIPS_PER_WIDTH = 2,
  FRAME_DISPLAY_BYTES_PER_WIDTH = FRAME_STRIPS_PER_WIDTH * FRAME_STRIP_BYTES,
  FRAME_COLUMNS_PER_WIDTH = FRAME_STRIPS_PER_WIDTH * 8,
  FRAME_MAX_STRIPS = (FRAME_WIDEST - FRAME_NARROWEST) * FRAME_STRIPS_PER_WIDTH,
  FRAME_MAX_DISPLAY = FRAME_MAX_STRIPS * FRAME_STRIP_BYTES,

  /* A frame whose bytes stop for longer than this before it is whole is cut off. */
  FRAME_LINE_SILENCE_MS = 500
};

/* The mode byte: the effect it plays. A mode past EFFECT_FLASH plays still. */
enum { EFFECT_STILL, EFFECT_LEFT, EFFECT_RIGHT, EFFECT_UP, EFFECT_DOWN, EFFECT_FLASH };

/* The speed byte and the steps of each effect. A speed outside the two plays
   as the nearer; a step lasts (EFFECT_FASTEST_SPEED + 1 - speed) paces.
   Moving left or right takes the panel's columns and the message's, one a step. */
enum {
  EFFECT_SLOWEST_SPEED = 1,
  EFFECT_FASTEST_SPEED = 10,
  EFFECT_PACE_MS = 10,
  /* Lit for the first half, dark for the second. */
  EFFECT_FLASH_STEPS = 10,
  /* Up and down: the rows come in one a step, the message stays as long, then leaves. */
  EFFECT_VERTICAL_STEPS = 3 * FRAME_ROWS
};

#endif
