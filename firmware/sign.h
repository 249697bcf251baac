/* Lumadot's reference sign (sign.c): its main loop takes each frame the line
   brings whole and plays it, preparing every step's view for the scan. */
#ifndef LUMADOT_SIGN_H
#define LUMADOT_SIGN_H

#include <stdint.h>

/* Frames taken to play; the tests read it by its address in the map file. */
extern volatile __data uint16_t frames_taken;

#endif
