/* What the sign's three parts share: the serial interrupt that reads frames
   into the buffer being filled, the main loop that plays the last whole one,
   and the timer interrupt that scans the panel. */
#ifndef LUMADOT_SIGN_H
#define LUMADOT_SIGN_H

#include <stdint.h>

#include "board.h"

/* A row of a frame in the SRAM: the message's bytes of that row between two
   panels' width of dark dots, stored right to left, so the scan, which shifts
   the rightmost dot first, walks up the addresses. */
#define MESSAGE_STRIPS 494 /* (255 - 8) * 2 */
#define ROW_BYTES (PANEL_BYTES + MESSAGE_STRIPS + PANEL_BYTES + 1)
#define FRAME_BYTES (PANEL_ROWS * ROW_BYTES)

extern __xdata uint8_t frames[2][FRAME_BYTES];
/* The last byte of row `row` of frame buffer `frame`: its leftmost padding. */
__xdata uint8_t *row_end(uint8_t frame, uint8_t row);

/* What the scan shows during a step: where each panel row's dots start, and
   how many bits of the first byte belong to the panel. Read by the scan's
   assembly, so the layout is fixed. */
struct view {
  uint8_t first_bits;   /* 1 to 8 */
  uint8_t pre_shift;    /* 8 - first_bits */
  uint8_t refreshes;    /* the step lasts this many refreshes */
  __xdata uint8_t *rows[SCAN_ROWS * (1 + TWO_DATA_LINES)];
};

extern __idata struct view views[2];
extern __data uint8_t shown_view;   /* the address of the view on the panel */
extern __data uint8_t hidden_view;  /* the one the main loop writes */
extern volatile __bit view_pending; /* the hidden view is ready for the next step */
extern volatile __bit view_restart; /* ... and shows at the next refresh, not at the step's end */
extern volatile __data uint8_t line_silence; /* refreshes since the last byte, up to 255 */
extern __xdata uint8_t dark_row[PANEL_BYTES + 1];

/* A frame the serial interrupt found whole: where it is and its header. */
extern volatile __bit frame_whole;
extern volatile __data uint8_t whole_frame, whole_width, whole_speed, whole_mode;

extern volatile __data uint16_t frames_taken;
extern volatile __data uint16_t parity_errors;
extern volatile __data uint32_t bytes_received;

void serial_start(void);
void serial_isr(void) __interrupt(4);
/* Drops a frame the line's silence has cut off. */
void serial_check_silence(void);

void scan_start(void);
void scan_isr(void) __interrupt(5) __using(1) __naked;

#endif
