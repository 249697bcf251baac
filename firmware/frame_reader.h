/* How the sign reads display frames off its serial line, one byte at a time
   (docs/frame.md; src/frame/frame_decoder.cpp is the host's reading of the same,
   and both take the frame's numbers from src/frame/frame_layout.h).
   This same file is built by sdcc for the sign's 8051, where it runs in the serial
   interrupt, and by the host compiler for the unit tests and the fuzz target that
   hold it to FrameDecoder: plain C99, no compiler keywords, no allocation, nothing
   wider than 16 bits.

   The state is one global, so sdcc reaches every field by direct address instead of
   through a generic pointer. The functions keep no locals that sdcc could overlay,
   yet they are not reentrant: call them in the serial interrupt, or elsewhere with
   it disabled. */
#ifndef LUMADOT_FRAME_READER_H
#define LUMADOT_FRAME_READER_H

#include <stdint.h>

#include "frame/frame_layout.h"

#ifdef __cplusplus
extern "C" {
#endif

/* What frame_reader_byte() says of a byte: flags, so the last display byte is both. */
enum {
  FRAME_NOTHING = 0,
  FRAME_DISPLAY_BYTE = 1, /* store the byte as display byte frame_reader.index */
  FRAME_WHOLE = 2,        /* the frame is whole with this byte */
  FRAME_DROPPED = 4       /* frame_reader_silence(): a frame not yet whole is lost */
};

/* A frame's header as it came, its fields in the frame's order (FRAME_WIDTH_AT
   and on); bytes only, so it has no padding on the 8051 or the host. */
struct frame_header {
  uint8_t width, speed, mode;
};

struct frame_reader_state {
  uint8_t head;     /* bytes of the head still to come after the width byte */
  uint16_t display; /* display bytes still to come, once the head is in */
  uint16_t index;   /* the display byte just taken, from 0; meaningful on FRAME_DISPLAY_BYTE */
  struct frame_header header; /* of the frame being read; whole on FRAME_WHOLE */
};

extern struct frame_reader_state frame_reader;

/* Between frames, as at power-up. */
void frame_reader_reset(void);
/* One byte off the line. Between frames zeros are skipped and any other byte is a
   width byte; a frame is whole after 256 + (width - 8) * 32 bytes (256 below width 8).
   Zeros after it are its tail and are skipped like the gap between frames. */
uint8_t frame_reader_byte(uint8_t byte);
/* The line has been silent for more than half a second: a frame not yet whole is
   dropped (FRAME_DROPPED); otherwise FRAME_NOTHING. */
uint8_t frame_reader_silence(void);

#ifdef __cplusplus
}
#endif

#endif
