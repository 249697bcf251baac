/* The line: 9600 baud, even parity, 8 data bits, 1 stop bit (UART mode 3,
   the parity in the ninth bit), or with LINE_8N1 no parity (mode 1). Bytes are taken in the interrupt, which has
   the high priority, so none is lost while the scan runs. */
#include <8052.h>

#include "serial.h"

#include "scan.h"

/* Half a second, in refreshes. */
#define SILENCE_REFRESHES (FRAME_LINE_SILENCE_MS / REFRESH_MS)

volatile __bit frame_whole;
volatile __data uint8_t whole_frame;
volatile __data struct frame_header whole_header;
volatile __data uint16_t parity_errors;
volatile __data uint32_t bytes_received;
volatile __data uint8_t line_silence;
#if FRAME_HELD_STRIPS < FRAME_MOST_STRIPS
volatile __data uint16_t frames_cut;
static __bit cutting; /* the frame being read has had bytes dropped */
#endif
#if FRAME_BUFFERS == 1
volatile __bit frame_coming;
static __bit reading; /* a frame's head or display bytes are coming */
#endif

static __data uint8_t filling; /* the frame buffer the line writes */
/* frames[filling], kept so the interrupt never multiplies: sdcc's multiply
   keeps its operand in memory the main loop's multiplies share. */
static __xdata uint8_t *__data filling_at;

static const __code uint16_t row_offsets[PANEL_ROWS] = {
  0 * ROW_BYTES, 1 * ROW_BYTES, 2 * ROW_BYTES, 3 * ROW_BYTES, 4 * ROW_BYTES, 5 * ROW_BYTES,
  6 * ROW_BYTES, 7 * ROW_BYTES, 8 * ROW_BYTES, 9 * ROW_BYTES, 10 * ROW_BYTES, 11 * ROW_BYTES,
  12 * ROW_BYTES, 13 * ROW_BYTES, 14 * ROW_BYTES, 15 * ROW_BYTES,
};

__xdata uint8_t *row_end(uint8_t frame, uint8_t row)
{
#if FRAME_BUFFERS == 2
  return (frame ? frames[1] : frames[0]) + row_offsets[row] + (ROW_BYTES - 1);
#else
  (void)frame;
  return frames[0] + row_offsets[row] + (ROW_BYTES - 1);
#endif
}

void serial_start(void)
{
  frame_reader_reset();
  filling = 0;
  filling_at = frames[0];
#if LINE_8N1
  SCON = 0x50;             /* mode 1, receiver on */
#else
  SCON = 0xD0;             /* mode 3, receiver on */
#endif
  PCON |= 0x80;            /* SMOD: the baud rate is timer 1's overflow / 16 */
  TMOD = (TMOD & 0x0F) | 0x20;
  TH1 = TL1 = BAUD_RELOAD;
  TR1 = 1;
  PS = 1;
  ES = 1;
}

/* Display byte `index` is row index % 16 of strip index / 16. */
static void store(uint16_t index, uint8_t byte)
{
  uint8_t row = (uint8_t)index & (FRAME_STRIP_BYTES - 1);
  uint16_t strip = index / FRAME_STRIP_BYTES;
#if FRAME_HELD_STRIPS < FRAME_MOST_STRIPS
  /* What the buffer cannot hold is dropped, and the frame counted once. */
  if (strip >= FRAME_HELD_STRIPS) {
    cutting = 1;
    return;
  }
#endif
  filling_at[row_offsets[row] + (ROW_BYTES - 1 - PANEL_BYTES) - strip] = byte;
}

static void take(uint8_t byte)
{
  uint8_t event = frame_reader_byte(byte);
  if (event & FRAME_DISPLAY_BYTE) store(frame_reader.index, byte);
#if FRAME_BUFFERS == 1
  if (!reading && (frame_reader.head || frame_reader.display)) {
    frame_coming = 1;
#if FRAME_HELD_STRIPS < FRAME_MOST_STRIPS
    cutting = 0;
#endif
  }
  reading = frame_reader.head || frame_reader.display;
#endif
  if (event & FRAME_WHOLE) {
#if FRAME_HELD_STRIPS < FRAME_MOST_STRIPS
    if (cutting) ++frames_cut;
#endif
    whole_frame = filling;
    whole_header.width = frame_reader.header.width;
    whole_header.speed = frame_reader.header.speed;
    whole_header.mode = frame_reader.header.mode;
    frame_whole = 1;
#if FRAME_BUFFERS == 2
    filling ^= 1;
    filling_at = filling ? frames[1] : frames[0];
#endif
  }
}

void serial_isr(void) __interrupt(4)
{
  uint8_t byte;
#if !LINE_8N1
  __bit parity;
#endif
  if (TI) TI = 0;
  if (!RI) return;
  byte = SBUF;
#if !LINE_8N1
  parity = RB8;
#endif
  RI = 0;
  line_silence = 0;
  ++bytes_received;
#if !LINE_8N1
  ACC = byte;
  if (P != parity) {
    ++parity_errors;
    return;
  }
#endif
  take(byte);
}

void serial_check_silence(void)
{
  if (line_silence <= SILENCE_REFRESHES) return;
  ES = 0;
  frame_reader_silence();
#if FRAME_BUFFERS == 1
  reading = 0;
#endif
  ES = 1;
}
