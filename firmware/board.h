/* The reference board and the settings real boards differ in. Each can be
   given on sdcc's command line (-DPANEL_COLUMNS=256) or through the build's
   LUMADOT_FIRMWARE_OPTIONS; docs/firmware.md has the wiring. */
#ifndef LUMADOT_BOARD_H
#define LUMADOT_BOARD_H

#include "frame/frame_layout.h"

/* The crystal, in Hz. 22.1184 MHz makes both 9600 baud and a 100 Hz refresh exact. */
#ifndef XTAL_HZ
#define XTAL_HZ 22118400UL
#endif

/* Dots across: 64, 128, 192 or 256; always 16 high. */
#ifndef PANEL_COLUMNS
#define PANEL_COLUMNS 128
#endif

/* 1 when a lit dot is a 0 on the data line(s). */
#ifndef DATA_ACTIVE_LOW
#define DATA_ACTIVE_LOW 0
#endif

/* 1 for panels with a second data line (P1.3) for rows 8 to 15: both halves
   shift together and the row number on P1.0-P1.2 counts 0 to 7 (1/8 scan). */
#ifndef TWO_DATA_LINES
#define TWO_DATA_LINES 0
#endif

/* How long one refresh of the whole panel takes. A step of an effect lasts a
   whole number of them, so 10 ms keeps every speed's pace exact; wider panels
   or slower crystals need 20 (see docs/firmware.md). */
#ifndef REFRESH_MS
#if PANEL_COLUMNS > 128
#define REFRESH_MS 20
#else
#define REFRESH_MS 10
#endif
#endif

#if PANEL_COLUMNS != 64 && PANEL_COLUMNS != 128 && PANEL_COLUMNS != 192 && PANEL_COLUMNS != 256
#error "PANEL_COLUMNS must be 64, 128, 192 or 256"
#endif
#if REFRESH_MS != 10 && REFRESH_MS != 20
#error "REFRESH_MS must be 10 or 20"
#endif

/* As high as the frame's strips. */
#define PANEL_ROWS FRAME_ROWS
#define PANEL_BYTES (PANEL_COLUMNS / 8)
#if TWO_DATA_LINES
#define SCAN_ROWS 8
#else
#define SCAN_ROWS 16
#endif

#define MACHINE_HZ (XTAL_HZ / 12)
/* Machine cycles from one row to the next. */
#define ROW_CYCLES (MACHINE_HZ * REFRESH_MS / 1000 / SCAN_ROWS)
/* What the row's shift takes (5 cycles a dot, twice that with two lines) and
   its overhead, with a third of the time left for the frame and the effect. */
#if TWO_DATA_LINES
#define SCAN_CYCLES (PANEL_COLUMNS * 10 + 160)
#else
#define SCAN_CYCLES (PANEL_COLUMNS * 5 + 160)
#endif
#if SCAN_CYCLES * 4 > ROW_CYCLES * 3
#error "the row scan does not fit this crystal and panel: raise REFRESH_MS or the crystal"
#endif

/* Timer 1 gives the baud rate with SMOD set. */
#define BAUD 9600UL
#define BAUD_RELOAD ((uint8_t)(256 - XTAL_HZ / (192UL * BAUD)))
#if XTAL_HZ % (192UL * BAUD) != 0
#error "the crystal gives no exact 9600 baud: use a multiple of 1.8432 MHz"
#endif

#endif
