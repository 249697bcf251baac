/* The reference board and the settings real boards differ in. Each can be
   given on sdcc's command line (-DPANEL_COLUMNS=256) or through the build's
   LUMADOT_FIRMWARE_OPTIONS; docs/firmware.md has the wiring. */
#ifndef LUMADOT_BOARD_H
#define LUMADOT_BOARD_H

#include "frame/frame_layout.h"
#include "part.h"

/* The crystal, in Hz. 22.1184 MHz makes both 9600 baud and a 100 Hz refresh exact. */
#ifndef XTAL_HZ
#define XTAL_HZ 22118400UL
#endif

/* How many times faster than a 12-clock 8051 the part runs this code, at
   least: the fit checks below divide the code's cycle counts by it. Timers
   still count 12-clock cycles, as STC's 1T parts start theirs in their
   12T-compatible mode. */
#ifndef CORE_SPEED
#define CORE_SPEED 1
#endif

/* 1 for a line of 8 data bits and no parity (UART mode 1), which HC-05
   Bluetooth modules speak until set otherwise; 0 for the even parity the PC
   program sends with (mode 3). */
#ifndef LINE_8N1
#define LINE_8N1 0
#endif

/* 1 for P10 modules (HUB12 input, 32 x 16 dots each, 1/4 scan) in a chain
   instead of the row-scanned panel: see the HUB12 part below. */
#ifndef PANEL_HUB12
#define PANEL_HUB12 0
#endif

/* Dots across: 64, 128, 192 or 256 (32 to 256, a multiple of 32, of P10
   modules); always 16 high. */
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

#if !PANEL_HUB12 && PANEL_COLUMNS != 64 && PANEL_COLUMNS != 128 && PANEL_COLUMNS != 192 && PANEL_COLUMNS != 256
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

#if CORE_SPEED < 1
#error "CORE_SPEED must be 1 or more"
#endif

#define MACHINE_HZ (XTAL_HZ / 12)
/* Timer cycles in one of `parts` of a refresh, with another crystal or
   refresh, so a failed fit check can say which would do. */
#define CYCLES_AT(xtal, refresh, parts) ((xtal) / 12 * (refresh) / 1000 / (parts))
/* Machine cycles from one row to the next. */
#define ROW_CYCLES CYCLES_AT(XTAL_HZ, REFRESH_MS, SCAN_ROWS)
/* What the row's shift takes (5 cycles a dot, twice that with two lines) and
   its overhead, with a quarter of the time left for the frame and the effect. */
#if TWO_DATA_LINES
#define ROW_SCAN_CYCLES(columns) ((columns) * 10 + 160)
#else
#define ROW_SCAN_CYCLES(columns) ((columns) * 5 + 160)
#endif
#define ROW_SCAN_FITS(columns, xtal, refresh, speed) \
  (ROW_SCAN_CYCLES(columns) * 4 <= CYCLES_AT(xtal, refresh, SCAN_ROWS) * 3 * (speed))

#if PANEL_HUB12
/* P10 modules chained on their HUB12 inputs, scanned one row in four: in
   phase p rows p, p + 4, p + 8 and p + 12 light. Their pins on P1, as bit
   addresses for the scan's assembly: */
#define HUB12_A 0x90   /* P1.0 A: row group, low bit */
#define HUB12_B 0x91   /* P1.1 B: row group, high bit */
#define HUB12_OE 0x94  /* P1.4 OE: lights the selected rows */
#define HUB12_R 0x95   /* P1.5 R: a dot's data */
#define HUB12_CLK 0x96 /* P1.6 CLK: a rising edge takes a dot */
#define HUB12_LAT 0x97 /* P1.7 LAT: a rising edge shows what the chain holds */
#define HUB12_GROUP_LINES 0x03 /* A and B, the lowest bits of P1 */

/* 1 for modules that light row group p when B:A is 0, 3, 1, 2 for p = 0 to 3. */
#ifndef PHASE_ORDER_0312
#define PHASE_ORDER_0312 0
#endif
/* 1 when a high R lights a dot (most P10 modules light on a low one). */
#ifndef DATA_ACTIVE_HIGH
#define DATA_ACTIVE_HIGH 0
#endif
/* 1 when a low OE lights the rows (most light on a high one). */
#ifndef OE_ACTIVE_LOW
#define OE_ACTIVE_LOW 0
#endif
/* 1 to 16: OE lights for BRIGHTNESS sixteenths of each phase; the refresh stays. */
#ifndef BRIGHTNESS
#define BRIGHTNESS 16
#endif

#define HUB12_PHASES 4
#define PHASE_CYCLES CYCLES_AT(XTAL_HZ, REFRESH_MS, HUB12_PHASES)
/* A phase's shift: 43 machine cycles a byte, 8 columns (4 bytes) a turn of
   its loop at 176, and the interrupt's own 60. At most 65% of the machine:
   the rest prepares each step's panel and takes the line. */
#define HUB12_GROUP_CYCLES 176UL
#define HUB12_SCAN_CYCLES(columns) ((columns) / 8 * HUB12_GROUP_CYCLES + 60)
#define HUB12_SCAN_FITS(columns, xtal, refresh, speed) \
  (HUB12_SCAN_CYCLES(columns) * 20 <= CYCLES_AT(xtal, refresh, HUB12_PHASES) * 13 * (speed))

#if TWO_DATA_LINES
#error "P10 modules have one data line: leave TWO_DATA_LINES out"
#endif
#if PANEL_COLUMNS < 32 || PANEL_COLUMNS > 256 || PANEL_COLUMNS % 32 != 0
#error "PANEL_COLUMNS must be 32 to 256, a multiple of 32 (one P10 module is 32)"
#endif
#if BRIGHTNESS < 1 || BRIGHTNESS > 16
#error "BRIGHTNESS must be 1 to 16"
#endif
#endif

/* A scan that does not fit is said in what a board can change: the modules
   or columns that fit, then what else would do. */
#if PANEL_HUB12
#define SCAN_FITS HUB12_SCAN_FITS
#else
#define SCAN_FITS ROW_SCAN_FITS
#endif
#if !SCAN_FITS(PANEL_COLUMNS, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#if PANEL_HUB12 && !SCAN_FITS(32, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the scan fits no P10 module"
#elif PANEL_HUB12 && !SCAN_FITS(64, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the scan fits at most 1 P10 module (32 columns)"
#elif PANEL_HUB12 && !SCAN_FITS(96, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the scan fits at most 2 P10 modules (64 columns)"
#elif PANEL_HUB12 && !SCAN_FITS(128, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the scan fits at most 3 P10 modules (96 columns)"
#elif PANEL_HUB12 && !SCAN_FITS(160, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the scan fits at most 4 P10 modules (128 columns)"
#elif PANEL_HUB12 && !SCAN_FITS(192, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the scan fits at most 5 P10 modules (160 columns)"
#elif PANEL_HUB12 && !SCAN_FITS(224, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the scan fits at most 6 P10 modules (192 columns)"
#elif PANEL_HUB12
#error "at this crystal, REFRESH_MS and CORE_SPEED the scan fits at most 7 P10 modules (224 columns)"
#elif !SCAN_FITS(64, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the row scan fits fewer than 64 columns, the narrowest panel"
#elif !SCAN_FITS(128, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the row scan fits at most 64 columns"
#elif !SCAN_FITS(192, XTAL_HZ, REFRESH_MS, CORE_SPEED)
#error "at this crystal, REFRESH_MS and CORE_SPEED the row scan fits at most 128 columns"
#else
#error "at this crystal, REFRESH_MS and CORE_SPEED the row scan fits at most 192 columns"
#endif
/* A 1T part runs the same image several times faster. */
#define FITS_AT_20MS (REFRESH_MS < 20 && SCAN_FITS(PANEL_COLUMNS, XTAL_HZ, 20, CORE_SPEED))
#define FITS_AT_22MHZ (XTAL_HZ < 22118400UL && SCAN_FITS(PANEL_COLUMNS, 22118400UL, REFRESH_MS, CORE_SPEED))
#define FITS_AT_BOTH (REFRESH_MS < 20 && XTAL_HZ < 22118400UL && SCAN_FITS(PANEL_COLUMNS, 22118400UL, 20, CORE_SPEED))
#if FITS_AT_20MS && FITS_AT_22MHZ && CORE_SPEED == 1
#error "REFRESH_MS=20, a 22.1184 MHz crystal or a 1T part (which runs the same image faster) would do"
#elif FITS_AT_20MS && FITS_AT_22MHZ
#error "REFRESH_MS=20 or a 22.1184 MHz crystal would do"
#elif FITS_AT_20MS && CORE_SPEED == 1
#error "REFRESH_MS=20 or a 1T part (which runs the same image faster) would do"
#elif FITS_AT_20MS
#error "REFRESH_MS=20 would do"
#elif FITS_AT_22MHZ && CORE_SPEED == 1
#error "a 22.1184 MHz crystal or a 1T part (which runs the same image faster) would do"
#elif FITS_AT_22MHZ
#error "a 22.1184 MHz crystal would do"
#elif FITS_AT_BOTH && CORE_SPEED == 1
#error "REFRESH_MS=20 with a 22.1184 MHz crystal, or a 1T part (which runs the same image faster) would do"
#elif FITS_AT_BOTH
#error "REFRESH_MS=20 with a 22.1184 MHz crystal would do"
#elif CORE_SPEED == 1
#error "a 1T part (which runs the same image faster) would do"
#else
#error "a faster part would do"
#endif
#endif

/* The frame buffers, in the XRAM below the P10 panel buffers and the dark
   row: two where two hold the widest frame, so the panel plays one while the
   line fills the other; else one, as long as the XRAM allows, which the panel
   leaves dark while a frame comes in. Plain numbers, for the assembler and
   the build's summary. */
#define FRAME_MOST_STRIPS 494 /* (255 - 8) x 2: the widest frame's */
#if PANEL_HUB12
#define HUB12_PANELS_BYTES 0x400
#else
#define HUB12_PANELS_BYTES 0
#endif
#define FRAME_XRAM_BYTES (XRAM_BYTES - HUB12_PANELS_BYTES - (PANEL_BYTES + 1))
/* A panel's width of dark each side of a row's message, and its last byte (scan.h). */
#define FRAME_ROW_PADDING (2 * PANEL_BYTES + 1)
#if FRAME_XRAM_BYTES >= 2 * 16 * (FRAME_ROW_PADDING + FRAME_MOST_STRIPS)
#define FRAME_BUFFERS 2
#define FRAME_HELD_STRIPS FRAME_MOST_STRIPS
#else
#define FRAME_BUFFERS 1
#if FRAME_XRAM_BYTES / 16 - FRAME_ROW_PADDING >= FRAME_MOST_STRIPS
#define FRAME_HELD_STRIPS FRAME_MOST_STRIPS
#else
#define FRAME_HELD_STRIPS (FRAME_XRAM_BYTES / 16 - FRAME_ROW_PADDING)
#endif
#endif
/* The longest message held, in characters 16 dots wide (a frame's width unit). */
#define FRAME_HELD_CHARACTERS (FRAME_HELD_STRIPS / 2)
#if FRAME_HELD_CHARACTERS < 1
#if defined(PART_STC12C5A60S2)
#error "STC12C5A60S2: its 1,024 bytes of XRAM hold no message beside this panel's buffers (P10 modules take 1,024): drive a row-scanned panel, or take an STC15W4K56S4 or STC8H8K64U"
#elif defined(PART_STC15W4K56S4)
#error "STC15W4K56S4: its 3,840 bytes of XRAM hold no message for this panel"
#elif defined(PART_STC8H8K64U)
#error "STC8H8K64U: its 8,192 bytes of XRAM hold no message for this panel"
#else
#error "XRAM_BYTES holds no message for this panel"
#endif
#endif

/* Timer 1 gives the baud rate with SMOD set. */
#define BAUD 9600UL
#define BAUD_RELOAD ((uint8_t)(256 - XTAL_HZ / (192UL * BAUD)))
#if XTAL_HZ % (192UL * BAUD) != 0
#error "the crystal gives no exact 9600 baud: use a multiple of 1.8432 MHz"
#endif

#endif
