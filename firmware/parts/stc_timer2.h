/* Timer 2 of STC's STC15 and STC8 families: 16 bits, reloaded from what was
   written to T2H:T2L while it was stopped, counting the clock / 12 while
   AUXR's T2x12 is clear (as after reset). Its interrupt flag clears itself. */
#ifndef LUMADOT_PART_STC_TIMER2_H
#define LUMADOT_PART_STC_TIMER2_H

#define PART_T2H 0xD6
#define PART_T2L 0xD7
#define PART_AUXR_T2R 0x10
#define PART_AUXR_T2X12 0x04
#define PART_IE2 0xAF     /* bit 2 ET2 */
#define PART_ET2 0x04
#define PART_T2_VECTOR 12

#endif
