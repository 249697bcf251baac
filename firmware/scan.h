/* The panel's scan (scan.c), in the scan timer's interrupt (part.h): it shifts each row of
   the view it shows out of the frame buffers, and takes the next view the main
   loop prepares at the start of a refresh. */
#ifndef LUMADOT_SCAN_H
#define LUMADOT_SCAN_H

#include <stdint.h>

#include "board.h"
#include "frame/frame_layout.h"

/* A row of a frame in the SRAM: the message's bytes of that row between two
   panels' width of dark dots, stored right to left, so the scan, which shifts
   the rightmost dot first, walks up the addresses. */
#define ROW_BYTES (PANEL_BYTES + FRAME_HELD_STRIPS + PANEL_BYTES + 1)
#define FRAME_BUFFER_BYTES (PANEL_ROWS * ROW_BYTES)

/* With two, the line fills one while the panel plays the other. */
extern __xdata uint8_t frames[FRAME_BUFFERS][FRAME_BUFFER_BYTES];
extern __xdata uint8_t dark_row[PANEL_BYTES + 1];

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
extern __data uint8_t step_left;    /* refreshes the shown step still shows; the scan's alone */
void refresh_over(void) __naked;

void scan_start(void);
void scan_isr(void) SCAN_INTERRUPT __using(1) __naked;

#if PANEL_HUB12
#include "hub12.h"
#endif

#endif
