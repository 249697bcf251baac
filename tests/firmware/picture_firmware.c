/* The sign's panel and line in small, for checking the simulator harness
   itself: the board's pins and timing with no frames. Each byte received
   with even parity in RB8 goes into a 256-byte picture, one after another
   and round again: byte 16 r + b is row r's columns 8 b to 8 b + 7, lowest
   bit leftmost. Timer 2 scans one row each 1152 machine cycles, rightmost
   column first. XRAM starts random, so the picture is cleared first. */
#include <8052.h>

#define ROW_TICK 1152u

__xdata __at(0x0000) unsigned char picture[256];

unsigned char row;          /* the row the next tick scans */
unsigned char at;           /* where the next byte goes */
unsigned int parity_errors; /* bytes dropped for their parity */
unsigned int frames_taken;  /* whole pictures taken */

void serial_isr(void) __interrupt(4)
{
    if (!RI) return;
    ACC = SBUF;
    RI = 0;
    if (P != RB8) {
        ++parity_errors;
        return;
    }
    picture[at++] = ACC;
    if (at == 0) ++frames_taken;
}

/* Output enable off while the row changes; the 16 bytes of the row from the
   last, each highest bit first, so column 127 leaves first. */
void scan_isr(void) __interrupt(5) __naked
{
    __asm
    push acc
    push psw
    push dpl
    push dph
    push ar7
    mov psw,#0x00
    clr _TF2
    setb _P1_4
    mov a,_row
    swap a
    orl a,#0x0f
    mov dpl,a
    mov dph,#(_picture >> 8)
    mov r7,#16
00001$:
    movx a,@dptr
    .rept 8
    rlc a
    mov _P1_5,c
    setb _P1_6
    clr _P1_6
    .endm
    dec dpl
    djnz r7,00001$
    mov a,_P1
    anl a,#0xf0
    orl a,_row
    mov _P1,a
    setb _P1_7
    clr _P1_7
    clr _P1_4
    mov a,_row
    inc a
    anl a,#0x0f
    mov _row,a
    pop ar7
    pop dph
    pop dpl
    pop psw
    pop acc
    reti
    __endasm;
}

void main(void)
{
    unsigned int i;
    for (i = 0; i < sizeof picture; ++i) picture[i] = 0;
    P1 = 0x10;
    SCON = 0xD0; /* mode 3, receiver on */
    TMOD = 0x20; /* timer 1 mode 2 */
    TH1 = 0xF4;
    TL1 = 0xF4;
    PCON |= 0x80;
    TR1 = 1;
    RCAP2H = (65536u - ROW_TICK) >> 8;
    RCAP2L = (65536u - ROW_TICK) & 0xff;
    TH2 = RCAP2H;
    TL2 = RCAP2L;
    T2CON = 0x04;
    PS = 1;
    ES = 1;
    ET2 = 1;
    EA = 1;
    for (;;) {
    }
}
