/* What differs between the parts (part.h): their RAM, their pins' modes and
   the timer that ticks the scan. */
#include <8052.h>
#include <stdint.h>

#include "board.h"

#ifdef PART_AUXR
__sfr __at(PART_AUXR) AUXR;
#endif
#ifdef PART_P1M0
__sfr __at(PART_P1M0) P1M0;
__sfr __at(PART_P1M1) P1M1;
#endif
#if PART_SCAN_TIMER_STC_T2
__sfr __at(PART_T2H) T2H;
__sfr __at(PART_T2L) T2L;
__sfr __at(PART_IE2) IE2;
#endif
#if PART_SCAN_TIMER_PCA
__sfr __at(PART_CMOD) CMOD;
__sfr __at(PART_CCAPM0) CCAPM0;
__sfr __at(PART_CL) CL;
__sfr __at(PART_CH) CH;
__sfr __at(PART_CCAP0L) CCAP0L;
__sfr __at(PART_CCAP0H) CCAP0H;
__sbit __at(PART_CR) CR;
#define CCAPM0_MATCH_INTERRUPT 0x49 /* ECOM0 | MAT0 | ECCF0 */
#define CCAPM0_MATCH_QUIET 0x48
/* The period, for the tick's assembly. */
static __data uint8_t period_low, period_high;
#endif

/* Before sdcc's start-up code clears and fills the XRAM, so on STC's parts
   it is the chip's own RAM it writes. */
void part_start(void)
{
#ifdef PART_AUXR
  AUXR &= ~PART_EXTRAM;
#endif
#ifdef PART_P1M0
  /* The panel's lines all on P1, driven push-pull down the cable. */
  P1M1 = 0x00;
  P1M0 = 0xFF;
#endif
}

void scan_timer_start(unsigned int period)
{
#if PART_SCAN_TIMER_8052_T2
  RCAP2L = TL2 = (uint8_t)(0 - period);
  RCAP2H = TH2 = (uint8_t)((0 - period) >> 8);
  T2CON = 0x04; /* 16-bit auto-reload, running */
  ET2 = 1;
#elif PART_SCAN_TIMER_STC_T2
  AUXR &= ~(PART_AUXR_T2R | PART_AUXR_T2X12); /* stopped, so T2H:T2L is also the reload */
  T2L = (uint8_t)(0 - period);
  T2H = (uint8_t)((0 - period) >> 8);
  AUXR |= PART_AUXR_T2R;
  IE2 |= PART_ET2;
#elif PART_SCAN_TIMER_PCA
  period_low = (uint8_t)period;
  period_high = (uint8_t)(period >> 8);
  CMOD = 0x00;
  CL = 0;
  CH = 0;
  CCAP0L = (uint8_t)period;
  CCAP0H = (uint8_t)(period >> 8);
  CCAPM0 = CCAPM0_MATCH_INTERRUPT;
  CR = 1;
#endif
}

void scan_hold(void)
{
#if PART_SCAN_TIMER_8052_T2
  ET2 = 0;
#elif PART_SCAN_TIMER_STC_T2
  IE2 &= ~PART_ET2;
#elif PART_SCAN_TIMER_PCA
  CCAPM0 = CCAPM0_MATCH_QUIET;
#endif
}

void scan_release(void)
{
#if PART_SCAN_TIMER_8052_T2
  ET2 = 1;
#elif PART_SCAN_TIMER_STC_T2
  IE2 |= PART_ET2;
#elif PART_SCAN_TIMER_PCA
  CCAPM0 = CCAPM0_MATCH_INTERRUPT;
#endif
}

#if PART_SCAN_TIMER_PCA
/* A match moves module 0's compare on by the scan's period, so the tick keeps
   its pace however late the interrupt is taken, and the scan runs as if its
   own timer had called it. */
void scan_tick_isr(void) __interrupt(PART_PCA_VECTOR) __naked
{
  __asm
    clr PART_CCF0
    push psw
    push acc
    mov a,PART_CCAP0L
    add a,_period_low
    mov PART_CCAP0L,a
    mov a,PART_CCAP0H
    addc a,_period_high
    mov PART_CCAP0H,a
    pop acc
    pop psw
    ljmp _scan_isr
  __endasm;
}
#endif
