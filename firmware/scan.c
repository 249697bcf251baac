/* The panel's scan: the scan timer (part.h) interrupts once a row, and each interrupt shifts
   one row's dots out rightmost first, shows them on that row and, after the
   last row, moves to the next step of the effect when it is due. Every dot
   costs five machine cycles, so the shift is unrolled assembly; the main
   loop only ever prepares the next view, and the scan takes it whole at the
   start of a refresh, so a refresh never shows two steps. */
#include <8052.h>

#include "scan.h"

__xdata uint8_t frames[FRAME_BUFFERS][FRAME_BUFFER_BYTES];
__xdata uint8_t dark_row[PANEL_BYTES + 1];
__idata struct view views[2];
__data uint8_t shown_view;
__data uint8_t hidden_view;
volatile __bit view_pending;
volatile __bit view_restart;
__data uint8_t step_left;

/* Both scans' end of a refresh, called from their interrupt in bank 1: the
   silence on the line grows, the step may change. Carry set when the
   hidden view became the shown one. */
void refresh_over(void) __naked
{
  __asm
    mov a,_line_silence
    inc a
    jz 00001$
    mov _line_silence,a
00001$:
    mov a,_step_left
    jz 00002$
    dec _step_left
00002$:
    jnb _view_pending,00004$
    jb _view_restart,00003$
    mov a,_step_left
    jnz 00004$
00003$:
    mov a,_shown_view
    xch a,_hidden_view
    mov _shown_view,a
    add a,#2                 ; its refreshes
    mov r0,a
    mov _step_left,@r0
    clr _view_restart
    clr _view_pending
    setb c
    ret
00004$:
    clr c
    ret
  __endasm;
}

#if !PANEL_HUB12 /* P10 modules have their own scan, hub12.c */
/* Kept apart from the C code's variables: only the scan writes it. */
static __data uint8_t scan_row;

unsigned char _sdcc_external_startup(void)
{
  part_start();
  return 0;
}

void scan_start(void)
{
  uint8_t y;
  views[0].first_bits = 8;
  views[0].refreshes = 1;
  for (y = 0; y < PANEL_ROWS; ++y) views[0].rows[y] = dark_row;
  shown_view = (uint8_t)&views[0];
  hidden_view = (uint8_t)&views[1];
  scan_row = 0;
  step_left = 1;
  P1 = 0x10; /* dark until the first row is shifted */
  scan_timer_start(ROW_CYCLES);
}

#if DATA_ACTIVE_LOW
#define LIT_IS_ONE cpl a
#else
#define LIT_IS_ONE
#endif

/* P1.5 data, P1.6 shift clock, P1.7 latch, P1.4 output enable (0 = lit);
   with two data lines, P1.3 carries row y + 8 while P1.5 carries row y. */
#if TWO_DATA_LINES
#define ROW_MASK 0xf8
#else
#define ROW_MASK 0xf0
#endif

/* __using(1) for bank 1, which the assembly works in: sdcc then keeps it free
   of variables. */
void scan_isr(void) SCAN_INTERRUPT __using(1) __naked
{
  __asm
    ; one dot of each row shifted: the top bit of A (and of R2, the byte of the upper row)
    .macro dot
#if TWO_DATA_LINES
    rlc a
    mov 0x93,c
    xch a,r2
#endif
    rlc a
    mov 0x95,c
#if TWO_DATA_LINES
    xch a,r2
#endif
    setb 0x96
    clr 0x96
    .endm
    ; the next byte of the row into A; with two lines the byte of the upper row into R2
    ; and that of the lower one into A, with R4:R3 keeping the pointer not in DPTR
    .macro swaprows
    mov a,dpl
    xch a,r3
    mov dpl,a
    mov a,dph
    xch a,r4
    mov dph,a
    .endm
    .macro load
    movx a,@dptr
    inc dptr
    LIT_IS_ONE
#if TWO_DATA_LINES
    mov r2,a
    swaprows
    movx a,@dptr
    inc dptr
    LIT_IS_ONE
    mov r5,a
    swaprows
    mov a,r5
#endif
    .endm

    push psw
    push acc
    push b
    push dpl
    push dph
    mov psw,#0x08
#if PART_SCAN_TIMER_8052_T2
    clr 0xcf                 ; TF2
#endif
    ; the view: how many bits of the first byte, then where the row starts
    mov r0,_shown_view
    mov a,@r0
    mov r7,a
    inc r0
    mov b,@r0
    inc b
    inc r0
    inc r0
    mov a,_scan_row
    rl a
    add a,r0
    mov r0,a
#if TWO_DATA_LINES
    add a,#(2 * 8)
    mov r1,a
    mov a,@r1
    mov r3,a
    inc r1
    mov a,@r1
    mov r4,a
#endif
    mov dpl,@r0
    inc r0
    mov dph,@r0
    load
    sjmp 00002$
00001$:
    rl a
#if TWO_DATA_LINES
    xch a,r2
    rl a
    xch a,r2
#endif
00002$:
    djnz b,00001$
00003$:
    dot
    djnz r7,00003$
    .rept PANEL_BYTES - 1
    load
    .rept 8
    dot
    .endm
    .endm
    ; the top bits of the last byte, as many as the first one lacked
    mov r0,_shown_view
    inc r0
    mov a,@r0
    jz 00005$
    mov r7,a
    load
00004$:
    dot
    djnz r7,00004$
00005$:
    ; dark while the row number changes, latched, lit
    setb 0x94
    anl 0x90,#ROW_MASK
    mov a,_scan_row
    orl 0x90,a
    setb 0x97
    clr 0x97
    clr 0x94
    inc _scan_row
    mov a,_scan_row
    cjne a,#SCAN_ROWS,00009$
    mov _scan_row,#0
    lcall _refresh_over
00009$:
    pop dph
    pop dpl
    pop b
    pop acc
    pop psw
    reti
  __endasm;
}
#endif
