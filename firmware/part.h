/* The chip: PART_STC12C5A60S2, PART_STC15W4K56S4 or PART_STC8H8K64U for STC's
   1T parts with their RAM on the chip, or none for the reference board, an
   8052 (AT89S52, STC89C52RC) with a 32 KB SRAM on its external bus. Each
   part's header holds its memory sizes and the SFRs the sign uses beyond the
   8052's; part.c starts them. */
#ifndef LUMADOT_PART_H
#define LUMADOT_PART_H

#if defined(PART_STC12C5A60S2) + defined(PART_STC15W4K56S4) + defined(PART_STC8H8K64U) > 1
#error "give one PART_ option"
#endif

#if defined(PART_STC12C5A60S2)
#include "parts/stc12c5a60s2.h"
#elif defined(PART_STC15W4K56S4)
#include "parts/stc15w4k56s4.h"
#elif defined(PART_STC8H8K64U)
#include "parts/stc8h8k64u.h"
#else
#define PART_NAME "8052 with external SRAM"
#define PART_CODE_BYTES 0x2000
#define PART_XRAM_BYTES 0x8000
#define PART_CORE_SPEED 1
#define PART_SCAN_TIMER_8052_T2 1
#define PART_T2_VECTOR 5
#endif

/* How many times a 12-clock core's speed the part runs the scan's code, at
   least; its timers still count 12-clock cycles, as STC's parts start. */
#ifndef CORE_SPEED
#define CORE_SPEED PART_CORE_SPEED
#endif

/* Bytes of XRAM the sign may use: the part's, or on the reference board the
   SRAM fitted (-DXRAM_BYTES=0x2000 for an 8 KB 6264), in whole pages. */
#ifndef XRAM_BYTES
#define XRAM_BYTES PART_XRAM_BYTES
#endif
#if XRAM_BYTES % 256 != 0 || XRAM_BYTES > PART_XRAM_BYTES
#error "XRAM_BYTES must be whole 256-byte pages, at most the part's"
#endif

/* The scan's timer: its interrupt, its start, and holding it off while the
   main loop hands the scan a view. */
#if PART_SCAN_TIMER_PCA
#define SCAN_INTERRUPT
#else
#define SCAN_INTERRUPT __interrupt(PART_T2_VECTOR)
#endif
void part_start(void);
void scan_timer_start(unsigned int period);
void scan_hold(void);
void scan_release(void);

#endif
