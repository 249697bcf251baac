/* The serial line (serial.c): its interrupt reads frames through the frame
   reader into the frame buffer being filled, and says when one is whole. */
#ifndef LUMADOT_SERIAL_H
#define LUMADOT_SERIAL_H

#include <stdint.h>

#include "board.h"
#include "frame_reader.h"

/* A frame the serial interrupt found whole: the buffer it is in and its header. */
extern volatile __bit frame_whole;
extern volatile __data uint8_t whole_frame;
extern volatile __data struct frame_header whole_header;

extern volatile __data uint16_t parity_errors;
extern volatile __data uint32_t bytes_received;
#if FRAME_HELD_STRIPS < FRAME_MOST_STRIPS
/* Frames taken shorter than they came, the buffer being full. */
extern volatile __data uint16_t frames_cut;
#endif
#if FRAME_BUFFERS == 1
/* A frame has begun to come into the one buffer, which the panel plays from. */
extern volatile __bit frame_coming;
#endif
/* Refreshes since the last byte, up to 255: the scan counts them. */
extern volatile __data uint8_t line_silence;

/* The last byte of row `row` of frame buffer `frame`: its leftmost padding. */
__xdata uint8_t *row_end(uint8_t frame, uint8_t row);

void serial_start(void);
void serial_isr(void) __interrupt(4);
/* Drops a frame the line's silence has cut off. */
void serial_check_silence(void);

#endif
