/* The scan for P10 modules (hub12.c), built instead of the row scan with
   PANEL_HUB12: each step's panel is composed once into a panel buffer, in
   the order and polarity the modules take it, and the scan only streams it. */
#ifndef LUMADOT_HUB12_H
#define LUMADOT_HUB12_H

#include <stdint.h>

#include "board.h"

/* Two panel buffers, one for each view: the scan shows one while the main
   loop composes the other. Page p of the four holds phase p of the first in
   its lower half and of the second in its upper one; in a half, rows p + 12
   and p + 4 take the even and odd bytes from 0, rows p + 8 and p from 64, a
   byte 8 columns. So the scan streams a phase with two pointers in one page,
   and a row moved a column is read and written in one page too. */
#define HUB12_PANELS_AT (XRAM_BYTES - HUB12_PANELS_BYTES)

/* Steps composed: the tests read it by its address in the map file. */
extern volatile __data uint8_t steps_composed;

/* The hidden view's step into its panel buffer, called by effect_view: panel
   row y shows message row compose_row + y (dark outside the message's 16),
   message row m at compose_at + m ROW_BYTES, shifted as the view's first_bits says. */
extern __xdata uint8_t *__data compose_at;
extern __data int8_t compose_row;
/* Moving sideways, a step after the one shown: the shown panel is moved a
   column instead, at about half the cost, and only the dot coming in is read. */
#define COMPOSE_LEFT 1
#define COMPOSE_RIGHT 2
extern __data uint8_t compose_moved; /* 0, or the way the shown panel moves */
void panel_compose(void) __naked;

#if BRIGHTNESS < 16
/* Timer 0 ends each phase's light early. */
void panel_dim_isr(void) __interrupt(1) __naked;
#endif

#endif
