/* STC15W4K56S4: a 1T 8051 with 56 KB of flash, 256 bytes of internal RAM and
   3,840 of XRAM on the chip (0x0000 to 0x0EFF). Its timer 2 is STC's own, a
   16-bit auto-reload timer at T2H:T2L with its own vector, not the 8052's. */
#ifndef LUMADOT_PART_STC15W4K56S4_H
#define LUMADOT_PART_STC15W4K56S4_H

#define PART_NAME "STC15W4K56S4"
#define PART_CODE_BYTES 0xE000
#define PART_XRAM_BYTES 0x0F00
#define PART_CORE_SPEED 3

#define PART_AUXR 0x8E    /* bit 1 EXTRAM, bit 2 T2x12, bit 4 T2R */
#define PART_EXTRAM 0x02
/* P1.6 and P1.7 (its PWM6 and PWM7) come up as high-impedance inputs. */
#define PART_P1M1 0x91
#define PART_P1M0 0x92

#define PART_SCAN_TIMER_STC_T2 1
#include "stc_timer2.h"
#endif
