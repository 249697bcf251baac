#pragma once

#ifndef _WIN32
#include <termios.h>

#include "serial/line_settings.h"

namespace lumadot {

// Character size, parity and stop bits into a terminal's control flags; the
// speed is left to the caller. False for 1.5 stop bits, which termios cannot
// express.
bool applyFrameFormat(termios& terminal, const LineSettings& settings);

// A pseudo-terminal carries bytes, not bits on a wire: Linux forces 8 data
// bits and no parity on it, and glibc reports any other request as EINVAL.
bool isPseudoTerminal(int fd);
void fitToPseudoTerminal(termios& terminal);

}  // namespace lumadot
#endif
