#include "serial/termios_settings.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace lumadot {

bool applyFrameFormat(termios& terminal, const LineSettings& settings) {
  if (settings.stopBits == StopBits::oneAndHalf) return false;
  tcflag_t size = CS8;
  switch (settings.dataBits) {
    case 5: size = CS5; break;
    case 6: size = CS6; break;
    case 7: size = CS7; break;
    case 8: size = CS8; break;
    default: return false;
  }
  tcflag_t flags = terminal.c_cflag & ~tcflag_t{CSIZE | PARENB | PARODD | CSTOPB};
#ifdef CMSPAR
  flags &= ~tcflag_t{CMSPAR};
#endif
  flags |= size;
  switch (settings.parity) {
    case Parity::none: break;
    case Parity::even: flags |= PARENB; break;
    case Parity::odd: flags |= PARENB | PARODD; break;
#ifdef CMSPAR
    case Parity::mark: flags |= PARENB | CMSPAR | PARODD; break;
    case Parity::space: flags |= PARENB | CMSPAR; break;
#else
    case Parity::mark:
    case Parity::space: return false;
#endif
  }
  if (settings.stopBits == StopBits::two) flags |= CSTOPB;
  terminal.c_cflag = flags;
  return true;
}

bool isPseudoTerminal(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode)) return false;
  // Unix98 pseudo-terminal slaves (/dev/pts/N) use majors 136 to 143.
  const unsigned int deviceMajor = major(status.st_rdev);
  return deviceMajor >= 136 && deviceMajor <= 143;
}

void fitToPseudoTerminal(termios& terminal) { terminal.c_cflag = (terminal.c_cflag & ~tcflag_t{CSIZE | PARENB}) | CS8; }

}  // namespace lumadot
#endif
