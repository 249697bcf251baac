#include "effect.h"

#include "scan.h"
#include "serial.h"

struct effect effect;

void effect_start(uint8_t frame, uint8_t width, uint8_t speed, uint8_t mode)
{
  effect.frame = frame;
  effect.mode = mode > EFFECT_FLASH ? EFFECT_STILL : mode;
  if (speed < EFFECT_SLOWEST_SPEED) speed = EFFECT_SLOWEST_SPEED;
  if (speed > EFFECT_FASTEST_SPEED) speed = EFFECT_FASTEST_SPEED;
  effect.step_ms = (uint8_t)((EFFECT_FASTEST_SPEED + 1 - speed) * EFFECT_PACE_MS);
  effect.owed = effect.step_ms;
  effect.width = width > FRAME_NARROWEST ? (uint16_t)(width - FRAME_NARROWEST) * FRAME_COLUMNS_PER_WIDTH : 0;
  switch (effect.mode) {
    case EFFECT_LEFT:
    case EFFECT_RIGHT: effect.steps = PANEL_COLUMNS + effect.width; break;
    case EFFECT_UP:
    case EFFECT_DOWN: effect.steps = EFFECT_VERTICAL_STEPS; break;
    case EFFECT_FLASH: effect.steps = EFFECT_FLASH_STEPS; break;
    default: effect.steps = 1; break;
  }
  effect.step = 0;
}

/* A step shorter than a refresh (10 ms steps on a 20 ms refresh) is passed
   over, and the refreshes a step lasts make up for the rounding of the ones
   before, so the effect keeps its pace. */
void effect_next(void)
{
  do {
    if (++effect.step >= effect.steps) effect.step = 0;
    effect.owed += effect.step_ms;
  } while (effect.owed < REFRESH_MS);
}

/* Rows the message stands below its place (above, if negative) at a step of
   moving up: in from below one row a step, still for 16, out at the top. */
static int8_t rows_below(uint16_t step)
{
  uint8_t at = (uint8_t)step;
  if (at < PANEL_ROWS) return (int8_t)(PANEL_ROWS - at);
  if (at < 2 * PANEL_ROWS) return 0;
  return (int8_t)(2 * PANEL_ROWS - at);
}

#if PANEL_HUB12
/* The step after the one composed last: the panel shown when the next is composed. */
static uint16_t composed_next;
#endif

void effect_view(void)
{
  __idata struct view *view = (__idata struct view *)hidden_view;
  int16_t first = 0; /* the message's column at the panel's left edge */
  int8_t below = 0;
  uint16_t last;
#if !PANEL_HUB12
  int8_t row;
  uint8_t y;
  __xdata uint8_t *at;
#endif
  switch (effect.mode) {
    case EFFECT_LEFT: first = (int16_t)effect.step - PANEL_COLUMNS; break;
    case EFFECT_RIGHT: first = (int16_t)effect.width - (int16_t)effect.step; break;
    case EFFECT_UP: below = rows_below(effect.step); break;
    case EFFECT_DOWN: below = (int8_t)-rows_below(effect.step); break;
    case EFFECT_FLASH:
      if (effect.step >= EFFECT_FLASH_STEPS / 2) below = PANEL_ROWS; /* all dark */
      break;
  }
  /* No message: dark, whatever the buffer holds (with one buffer, the frame coming in). */
  if (effect.width == 0) below = PANEL_ROWS;
  /* The rightmost dot, in columns counted from the row's left padding. */
  last = (uint16_t)(first + PANEL_COLUMNS) + (PANEL_COLUMNS - 1);
  view->first_bits = (uint8_t)((last & 7) + 1);
  view->pre_shift = (uint8_t)(8 - view->first_bits);
  view->refreshes = (uint8_t)(effect.owed / REFRESH_MS);
  effect.owed -= (uint8_t)(view->refreshes * REFRESH_MS);
#if PANEL_HUB12
  /* The panel composed whole, from the message's top row, each row found as it goes. */
  compose_at = row_end(effect.frame, 0) - (last >> 3);
  compose_row = (int8_t)-below;
  compose_moved = 0;
  if (effect.step == composed_next && effect.mode == EFFECT_LEFT) compose_moved = COMPOSE_LEFT;
  if (effect.step == composed_next && effect.mode == EFFECT_RIGHT) compose_moved = COMPOSE_RIGHT;
  composed_next = effect.step + 1;
  panel_compose();
#else
  /* Panel row y shows message row y - below: one pointer, a row further each time. */
  row = (int8_t)-below;
  at = row_end(effect.frame, 0) - (last >> 3) + (int16_t)row * ROW_BYTES;
  for (y = 0; y < PANEL_ROWS; ++y, ++row, at += ROW_BYTES) view->rows[y] = row < 0 || row >= PANEL_ROWS ? dark_row : at;
#endif
}
