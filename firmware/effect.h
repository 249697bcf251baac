/* The six effects as the panel shows them, step by step (effect.c): where the
   message stands on the panel at each step. Their modes, paces and steps are
   src/frame/frame_layout.h's, as the host's player's are; docs/frame.md gives them. */
#ifndef LUMADOT_EFFECT_H
#define LUMADOT_EFFECT_H

#include <stdint.h>

#include "frame/frame_layout.h"

struct effect {
  uint8_t frame;      /* the frame buffer it plays */
  uint8_t mode;       /* EFFECT_STILL to EFFECT_FLASH */
  uint8_t step_ms;    /* a step's length: (11 - speed) x 10 ms */
  uint8_t owed;       /* ms the panel owes the steps so far; at most a refresh's worth after each view */
  uint16_t width;     /* the message's dots across */
  uint16_t steps;     /* in one cycle */
  uint16_t step;      /* the one being prepared */
};

/* One global, so sdcc reaches its fields by address, not through a generic
   pointer: the main loop must prepare a step within the 10 ms the fastest one
   lasts, while the scan takes two thirds of the machine. */
extern struct effect effect;

/* A frame's header as it came: a mode past 5 plays still, a speed outside 1
   to 10 as the nearer of them. */
void effect_start(uint8_t frame, uint8_t width, uint8_t speed, uint8_t mode);
void effect_next(void);
/* The view of the step, into the hidden view. */
void effect_view(void);

#endif
