/* STC12C5A60S2: a 1T 8051 with 60 KB of flash, 256 bytes of internal RAM and
   1,024 of XRAM on the chip (0x0000 to 0x03FF), no external bus needed. It
   has no timer 2: the scan's tick comes from PCA module 0 matching its
   counter, which counts machine cycles as timer 2 would. */
#ifndef LUMADOT_PART_STC12C5A60S2_H
#define LUMADOT_PART_STC12C5A60S2_H

#define PART_NAME "STC12C5A60S2"
#define PART_CODE_BYTES 0xF000
#define PART_XRAM_BYTES 0x0400
/* Its shift loop's instructions take 1 to 4 clocks against a 12T core's 12 to 24. */
#define PART_CORE_SPEED 3

#define PART_AUXR 0x8E    /* bit 1 EXTRAM: 0 reads and writes the on-chip XRAM */
#define PART_EXTRAM 0x02
#define PART_P1M1 0x91    /* P1M1:P1M0 = 0:1 drives a pin push-pull */
#define PART_P1M0 0x92

#define PART_SCAN_TIMER_PCA 1
#define PART_CCON 0xD8    /* bit 0 CCF0 module 0 matched, bit 6 CR runs the counter */
#define PART_CCF0 0xD8
#define PART_CR 0xDE
#define PART_CMOD 0xD9    /* 0: the counter counts the clock / 12 */
#define PART_CCAPM0 0xDA  /* ECOM0 | MAT0 | ECCF0: interrupt on each match */
#define PART_CL 0xE9
#define PART_CH 0xF9
#define PART_CCAP0L 0xEA
#define PART_CCAP0H 0xFA
#define PART_PCA_VECTOR 7

#endif
