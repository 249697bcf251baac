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
#if !PANEL_HUB12 && SCAN_CYCLES * 4 > ROW_CYCLES * 3
#error "the row scan does not fit this crystal and panel: raise REFRESH_MS or the crystal"
#endif

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
#define PHASE_CYCLES (MACHINE_HZ * REFRESH_MS / 1000 / HUB12_PHASES)
/* A phase's shift: 43 machine cycles a byte, 8 columns (4 bytes) a turn of
   its loop at 176, and the interrupt's own 60. At most 65% of the machine:
   the rest prepares each step's panel and takes the line. */
#define HUB12_GROUP_CYCLES 176UL
#define HUB12_SCAN_CYCLES (PANEL_BYTES * HUB12_GROUP_CYCLES + 60)
#define HUB12_MAX_MODULES ((PHASE_CYCLES * 13 / 20 - 60) / (4 * HUB12_GROUP_CYCLES))

#if TWO_DATA_LINES
#error "P10 modules have one data line: leave TWO_DATA_LINES out"
#endif
#if PANEL_COLUMNS < 32 || PANEL_COLUMNS > 256 || PANEL_COLUMNS % 32 != 0
#error "PANEL_COLUMNS must be 32 to 256, a multiple of 32 (one P10 module is 32)"
#endif
#if BRIGHTNESS < 1 || BRIGHTNESS > 16
#error "BRIGHTNESS must be 1 to 16"
#endif
/* Said in modules, since that is what a board can change; a 1T 8051 runs
   the same image faster, but its timer 2 is counted here in 12-clock cycles. */
#if HUB12_SCAN_CYCLES * 20 > PHASE_CYCLES * 13
#if HUB12_MAX_MODULES < 1
#error "a 12-clock 8051 at this crystal scans no P10 module in REFRESH_MS: raise REFRESH_MS or the crystal (a 1T part runs the same image faster)"
#elif HUB12_MAX_MODULES == 1
#error "a 12-clock 8051 at this crystal scans at most 1 P10 module (32 columns) in REFRESH_MS: fewer columns, REFRESH_MS=20 or a faster crystal (a 1T part runs the same image faster)"
#elif HUB12_MAX_MODULES == 2
#error "a 12-clock 8051 at this crystal scans at most 2 P10 modules (64 columns) in REFRESH_MS: fewer columns, REFRESH_MS=20 or a faster crystal (a 1T part runs the same image faster)"
#elif HUB12_MAX_MODULES == 3
#error "a 12-clock 8051 at this crystal scans at most 3 P10 modules (96 columns) in REFRESH_MS: fewer columns, REFRESH_MS=20 or a faster crystal (a 1T part runs the same image faster)"
#elif HUB12_MAX_MODULES == 4
#error "a 12-clock 8051 at this crystal scans at most 4 P10 modules (128 columns) in REFRESH_MS: fewer columns, REFRESH_MS=20 or a faster crystal (a 1T part runs the same image faster)"
#elif HUB12_MAX_MODULES == 5
#error "a 12-clock 8051 at this crystal scans at most 5 P10 modules (160 columns) in REFRESH_MS: fewer columns or REFRESH_MS=20 (a 1T part runs the same image faster)"
#elif HUB12_MAX_MODULES == 6
#error "a 12-clock 8051 at this crystal scans at most 6 P10 modules (192 columns) in REFRESH_MS: fewer columns or REFRESH_MS=20 (a 1T part runs the same image faster)"
#else
#error "a 12-clock 8051 at this crystal scans at most 7 P10 modules (224 columns) in REFRESH_MS: fewer columns or REFRESH_MS=20 (a 1T part runs the same image faster)"
#endif
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
