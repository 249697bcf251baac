/* STC8H8K64U: a 1T 8051 with 64 KB of flash, 256 bytes of internal RAM and
   8,192 of XRAM on the chip (0x0000 to 0x1FFF). Every port but P3.0 and P3.1
   comes up as a high-impedance input. Timer 2 is STC's own, as on the STC15. */
#ifndef LUMADOT_PART_STC8H8K64U_H
#define LUMADOT_PART_STC8H8K64U_H

#define PART_NAME "STC8H8K64U"
#define PART_CODE_BYTES 0x10000
#define PART_XRAM_BYTES 0x2000
#define PART_CORE_SPEED 3

#define PART_AUXR 0x8E
#define PART_EXTRAM 0x02
#define PART_P1M1 0x91
#define PART_P1M0 0x92

#define PART_SCAN_TIMER_STC_T2 1
#include "stc_timer2.h"
#endif
