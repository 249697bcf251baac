#include "serial/port_access.h"

#include <QSerialPort>
#include <cerrno>
#include <cstring>

#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include "serial/system_port.h"
#include "serial/termios_settings.h"

namespace lumadot {
namespace {

Failure inUse() { return Failure("the port is in use by another program").because({CauseKind::portInUse}); }

Failure systemFailure(int error) {
  return Failure(std::strerror(error)).because({CauseKind::system, std::strerror(error), {error}});
}

// Qt reports a lock file held by another program as a permission error;
// told apart from a real one, each gets its own remedy.
Failure openFailure(const QSerialPort& port, const std::string& device) {
  if (port.error() == QSerialPort::PermissionError) {
    if (::access(device.c_str(), R_OK | W_OK) == 0) return inUse();
    const std::string words = port.errorString().toStdString();
    return Failure(words +
                   "; only root and the port's group (dialout on Debian) may use it: sudo adduser $USER dialout, "
                   "then log in again")
        .because({CauseKind::portGroup, words});
  }
  return portError(port);
}

}  // namespace

Failure portError(const QSerialPort& port) {
  const std::string words = port.errorString().toStdString();
  std::int64_t error = 0;
  if (port.error() == QSerialPort::DeviceNotFoundError) error = ENOENT;
  if (port.error() == QSerialPort::PermissionError) error = EACCES;
  return Failure(words).because({CauseKind::system, words, {error}});
}

Result<void> openPort(QSerialPort& port, const std::string& device, QIODevice::OpenMode mode) {
  port.clearError();
  port.setPortName(QString::fromStdString(device));
  if (!port.open(mode)) return openFailure(port, device);
  // Qt's lock file keeps out programs that honour lock files; flock keeps
  // out those that use flock instead, and root, whom TIOCEXCL does not stop.
  if (::flock(port.handle(), LOCK_EX | LOCK_NB) != 0) {
    port.close();
    return inUse();
  }
  return {};
}

Result<void> configurePort(QSerialPort& port, const LineSettings& settings) {
  if (!port.isOpen()) return portNotOpen();
  // The frame format goes straight to termios: Qt would re-read the flags and
  // call a pseudo-terminal's forced 8 data bits and no parity a failure.
  termios terminal{};
  if (::tcgetattr(port.handle(), &terminal) != 0) return systemFailure(errno);
  if (!applyFrameFormat(terminal, settings)) {
    return Failure("this system cannot send 1.5 stop bits").because({CauseKind::noHalfStopBits});
  }
  if (isPseudoTerminal(port.handle())) fitToPseudoTerminal(terminal);
  if (::tcsetattr(port.handle(), TCSANOW, &terminal) != 0) return systemFailure(errno);
  // Qt knows the ways to set a speed outside the standard table.
  if (!port.setBaudRate(settings.baud)) return portError(port);
  return {};
}

}  // namespace lumadot
