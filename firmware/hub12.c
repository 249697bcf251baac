/* The scan for P10 modules (hub12.h), built with PANEL_HUB12 in place of the
   row scan in scan.c. The scan timer (part.h) interrupts once a phase, four a refresh; each
   interrupt streams that phase's bytes, already in the modules' order and
   polarity, out of the shown panel buffer at five machine cycles a dot,
   latches them and lights the phase's rows. The main loop composes each
   step's panel into the other buffer (panel_compose), and the scan takes it
   at the start of a refresh, so a refresh never shows two steps. */
#include <8052.h>

#include "scan.h"

#if PANEL_HUB12

__xdata __at(HUB12_PANELS_AT) uint8_t panels[HUB12_PHASES][256];
volatile __data uint8_t steps_composed;
__xdata uint8_t *__data compose_at;
__data int8_t compose_row;
__data uint8_t compose_moved;

/* ROW_BYTES, spelled out for the assembler, which cannot read enums. */
#define HUB12_ROW_BYTES (2 * PANEL_BYTES + FRAME_HELD_STRIPS + 1)
typedef char hub12_row_bytes_is_row_bytes[HUB12_ROW_BYTES == ROW_BYTES ? 1 : -1];
/* Kept apart from the C code's variables: only the scan writes them. */
static __data uint8_t phase;      /* the one the next interrupt shifts */
static __data uint8_t shown_half; /* the shown buffer's half of each page: 0 or 128 */

/* Timer 0 counts the phase's light from its start; the cycles its interrupt
   takes to come are taken off. */
#define DIM_LATENCY 5
#define DIM_RELOAD (65536UL - (PHASE_CYCLES * BRIGHTNESS / 16 - DIM_LATENCY))
#if BRIGHTNESS < 16
static __data uint8_t dim_low, dim_high; /* DIM_RELOAD, which the assembler cannot read */
#endif

#if DATA_ACTIVE_HIGH
#define DARK_BYTE 0x00
#define LIT_TO_PIN
#define LIT_TO_PIN_C
#else
#define DARK_BYTE 0xFF
#define LIT_TO_PIN cpl a
#define LIT_TO_PIN_C cpl c
#endif
#if OE_ACTIVE_LOW
#define OE_LIGHT clr HUB12_OE
#define OE_DARK setb HUB12_OE
#define DARK_PINS 0x10
#else
#define OE_LIGHT setb HUB12_OE
#define OE_DARK clr HUB12_OE
#define DARK_PINS 0x00
#endif

/* Row y's rightmost byte in its half of page y % 4: row p + 12 - 4 k of
   phase p takes the even bytes (k < 2) or the odd ones from 0 (k even) or
   64, a byte each 8 columns. */
#define SLOT(y) (3 - (y) / 4)
#define ROW_AT(y) ((uint8_t)(SLOT(y) % 2 * 64 + SLOT(y) / 2 + 2 * (PANEL_BYTES - 1)))
static const __code uint8_t row_at[PANEL_ROWS] = {
  ROW_AT(0), ROW_AT(1), ROW_AT(2), ROW_AT(3), ROW_AT(4), ROW_AT(5), ROW_AT(6), ROW_AT(7),
  ROW_AT(8), ROW_AT(9), ROW_AT(10), ROW_AT(11), ROW_AT(12), ROW_AT(13), ROW_AT(14), ROW_AT(15),
};
/* By first_bits: multiplied by it, a byte's high byte is its dots moved that
   far right (first_bits 8 takes the next byte whole, times 1). */
static const __code uint8_t shifts[9] = {0, 128, 64, 32, 16, 8, 4, 2, 1};
/* By first_bits, the bit of the panel's rightmost dot in its byte; by
   first_bits % 8 + 1, that of its leftmost. */
static const __code uint8_t edge_bits[9] = {0, 1, 2, 4, 8, 16, 32, 64, 128};

/* At power-up P1 is all ones, which lights modules whose OE is high. */
unsigned char _sdcc_external_startup(void)
{
  part_start();
  P1 = DARK_PINS;
  return 0;
}

void scan_start(void)
{
  __xdata uint8_t *at = &panels[0][0];
  do *at++ = DARK_BYTE; while (at != &panels[HUB12_PHASES][0]);
  views[0].refreshes = 1;
  shown_view = (uint8_t)&views[0];
  hidden_view = (uint8_t)&views[1];
  shown_half = 0;
  phase = 0;
  step_left = 1;
  P1 = DARK_PINS;
  scan_timer_start(PHASE_CYCLES);
#if BRIGHTNESS < 16
  dim_low = (uint8_t)DIM_RELOAD;
  dim_high = (uint8_t)(DIM_RELOAD >> 8);
  TMOD = (TMOD & 0xF0) | 0x01; /* timer 0 16-bit, started by each phase */
  PT0 = 1;                     /* before the scan, which it cuts short */
  ET0 = 1;
#endif
}

#if BRIGHTNESS < 16
void panel_dim_isr(void) __interrupt(1) __naked
{
  __asm
    OE_DARK
    clr 0x8c                 ; TR0
    reti
  __endasm;
}
#endif

/* Bank 1, as the row scan: no other code uses it. */
void scan_isr(void) SCAN_INTERRUPT __using(1) __naked
{
  __asm
    .macro dots
    .rept 8
    rrc a
    mov HUB12_R,c
    setb HUB12_CLK
    clr HUB12_CLK
    .endm
    .endm

    push psw
    push acc
    push 0xa0                ; P2
    mov psw,#0x08
#if PART_SCAN_TIMER_8052_T2
    clr 0xcf                 ; TF2
#endif
    ; phase p in page p, in the half of the shown buffer: two rows in turn
    ; from its start and two from 64
    mov a,_phase
    add a,#(HUB12_PANELS_AT >> 8)
    mov 0xa0,a
    mov a,_shown_half
    mov r0,a
    add a,#64
    mov r1,a
    mov r7,#(2 * PANEL_BYTES)
00001$:
    movx a,@r0
    dots
    movx a,@r1
    dots
    inc r0
    inc r1
    djnz r7,00001$
    ; dark, latched, the rows of the phase chosen, lit
    OE_DARK
    setb HUB12_LAT
    clr HUB12_LAT
    mov a,_phase
#if PHASE_ORDER_0312
    add a,#2
    movc a,@a+pc
    sjmp 00002$
    .db 0, 3, 1, 2
00002$:
#endif
    anl 0x90,#(0xff - HUB12_GROUP_LINES)
    orl 0x90,a
#if BRIGHTNESS < 16
    clr 0x8c                 ; TR0
    clr 0x8d                 ; TF0: the end of the last phase, if still waiting, is past
    mov 0x8a,_dim_low        ; TL0
    mov 0x8c,_dim_high       ; TH0
    setb 0x8c                ; TR0
#endif
    OE_LIGHT
    inc _phase
    mov a,_phase
    cjne a,#HUB12_PHASES,00009$
    mov _phase,#0
    lcall _refresh_over
    jnc 00009$
    ; the panel buffer half goes with the view
    mov a,_shown_view
    xrl a,#_views
    jz 00010$
    mov a,#128
00010$:
    mov _shown_half,a
00009$:
    pop 0xa0
    pop acc
    pop psw
    reti
  __endasm;
}

void panel_compose(void) __naked
{
  __asm
    ; the message row after the one at R3:(low)
    .macro next_row low
    mov a,low
    add a,#(HUB12_ROW_BYTES & 0xff)
    mov low,a
    mov a,r3
    addc a,#(HUB12_ROW_BYTES >> 8)
    mov r3,a
    .endm
    ; panel row R2: its page in P2, its rightmost byte in its half in A
    .macro panel_row
    mov a,r2
    anl a,#3
    add a,#(HUB12_PANELS_AT >> 8)
    mov 0xa0,a
    mov a,r2
    mov dptr,#_row_at
    movc a,@a+dptr
    .endm
    ; R4 the half of the hidden buffer, R5 first_bits, R7 its multiplier
    mov r0,_hidden_view
    mov a,@r0
    mov r5,a
    mov dptr,#_shifts
    movc a,@a+dptr
    mov r7,a
    mov a,_shown_half
    xrl a,#128
    mov r4,a
    mov a,_compose_moved
    jz 00005$
    ljmp 00030$
00005$:
    ; R3:R0 the first message row the panel shows, a row further each time
    mov r0,_compose_at
    mov r3,(_compose_at + 1)
    mov a,_compose_row
    jb acc.7,00007$
    jz 00007$
    mov r6,a
00006$:
    next_row r0
    djnz r6,00006$
00007$:
    mov r2,#0                ; the panel row
00002$:
    panel_row
    orl a,r4
    mov r1,a
    ; a message row, or dark above and below the message
    mov a,r2
    add a,_compose_row
    clr c
    subb a,#16
    jnc 00008$
    mov dpl,r0
    mov dph,r3
    next_row r0
    sjmp 00009$
00008$:
    mov dptr,#_dark_row
00009$:
    cjne r5,#8,00003$
    lcall 00010$
    sjmp 00004$
00003$:
    lcall 00020$
00004$:
    inc r2
    cjne r2,#16,00002$       ; PANEL_ROWS
00011$:
    inc _steps_composed
    ret

    ; the message byte at DPTR, and DPTR on to the one left of it
    .macro take
    movx a,@dptr
    inc dptr
    .endm
    ; A, as the pins take it, into the hidden panel, and R1 on to the byte left of it
    .macro put
    LIT_TO_PIN
    movx @r1,a
    dec r1
    dec r1
    .endm

    ; the row from DPTR up, right to left, as whole bytes
00010$:
    .rept PANEL_BYTES
    take
    put
    .endm
    ret

    ; the same with the dots of each byte moved right: times R7, its high
    ; part and the low part of the byte before (to its right)
00020$:
    take
    mov b,r7
    mul ab
    mov r6,a
    .rept PANEL_BYTES
    take
    mov b,r7
    mul ab
    xch a,r6
    orl a,b
    put
    .endm
    ret

    ; Moved a column: each row of the shown panel (R0) a dot along into the
    ; hidden one (R1), the dot coming in from the message row (R3:R6 + R5,
    ; its bit R7): from its right edge moving left, from its left moving right
    .macro dot_coming_in
    mov a,r6
    add a,r5
    mov dpl,a
    clr a
    addc a,r3
    mov dph,a
    movx a,@dptr
    anl a,r7
    add a,#0xff
    LIT_TO_PIN_C
    .endm
    ; the row from its byte in A (of the hidden half, R1; of the shown, R0),
    ; each byte through the carry, the next one a step along
    .macro moved_row shift, step
    orl a,r4
    mov r1,a
    xrl a,#128
    mov r0,a
    dot_coming_in
    .rept PANEL_BYTES
    movx a,@r0
    shift a
    movx @r1,a
    step r0
    step r0
    step r1
    step r1
    .endm
    .endm
    .macro next_moved_row again
    next_row r6
    inc r2
    cjne r2,#16,.+6          ; PANEL_ROWS
    ljmp 00011$
    ljmp again
    .endm
00030$:
    mov a,r5
    mov r5,#0
    mov r6,_compose_moved
    cjne r6,#COMPOSE_LEFT,00037$
    sjmp 00038$
00037$:
    ; the leftmost dot is a panel further along the row (a byte less when
    ; the rightmost is the last of its byte), at the bit after the rightmost
    mov r5,#PANEL_BYTES
    cjne a,#8,00039$
    dec r5
00039$:
    anl a,#7
    inc a
00038$:
    mov dptr,#_edge_bits
    movc a,@a+dptr
    mov r7,a
    mov r6,_compose_at
    mov r3,(_compose_at + 1)
    mov r2,#0
    mov a,_compose_moved
    cjne a,#COMPOSE_LEFT,00042$
    sjmp 00041$
00042$:
    ljmp 00040$
00041$:
    panel_row
    moved_row rrc, dec
    next_moved_row 00041$
00040$:
    panel_row
    add a,#(2 - 2 * PANEL_BYTES)
    moved_row rlc, inc
    next_moved_row 00040$
  __endasm;
}

#endif
