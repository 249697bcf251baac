#include "serial/port_access.h"

#include <QSerialPort>
#include <cerrno>
#include <cstring>

#include "serial/port_mapping.h"

#ifndef _WIN32
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include "serial/termios_settings.h"
#endif

namespace lumadot {
namespace {

#ifdef _WIN32
QSerialPort::Parity qtParity(Parity parity) {
  switch (parity) {
    case Parity::none: return QSerialPort::NoParity;
    case Parity::even: return QSerialPort::EvenParity;
    case Parity::odd: return QSerialPort::OddParity;
    case Parity::mark: return QSerialPort::MarkParity;
    case Parity::space: return QSerialPort::SpaceParity;
  }
  return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(StopBits stopBits) {
  switch (stopBits) {
    case StopBits::one: return QSerialPort::OneStop;
    case StopBits::oneAndHalf: return QSerialPort::OneAndHalfStop;
    case StopBits::two: return QSerialPort::TwoStop;
  }
  return QSerialPort::OneStop;
}
#endif

Failure portError(const QSerialPort& port) { return Failure(port.errorString().toStdString()); }

// Qt reports a lock file held by another program as a permission error;
// told apart from a real one, each gets its own remedy.
Failure openFailure(const QSerialPort& port, [[maybe_unused]] const std::string& device) {
#ifndef _WIN32
  if (port.error() == QSerialPort::PermissionError) {
    if (::access(device.c_str(), R_OK | W_OK) == 0) return Failure("the port is in use by another program");
    return Failure(port.errorString().toStdString() +
                   "; only root and the port's group (dialout on Debian) may use it: sudo adduser $USER dialout, "
                   "then log in again");
  }
#endif
  return portError(port);
}

}  // namespace

Result<std::string> mappedDevice(const PortChoice& port) {
  if (port.number == 0) return port.device;
  const PortMapping mapping = mapPort(port.number);
  if (mapping.source != PortMapping::Source::none) return mapping.device;
  const std::string n = std::to_string(port.number);
  return Failure("the system lists fewer than " + n + " serial ports; set LUMADOT_COM" + n +
                 " to the device to use, e.g. LUMADOT_COM" + n + "=/dev/ttyUSB0");
}

Result<void> openPort(QSerialPort& port, const std::string& device, QIODevice::OpenMode mode) {
  port.clearError();
  port.setPortName(QString::fromStdString(device));
  if (!port.open(mode)) return openFailure(port, device);
#ifndef _WIN32
  // Qt's lock file keeps out programs that honour lock files; flock keeps
  // out those that use flock instead, and root, whom TIOCEXCL does not stop.
  if (::flock(port.handle(), LOCK_EX | LOCK_NB) != 0) {
    port.close();
    return Failure("the port is in use by another program");
  }
#endif
  return {};
}

Result<void> configurePort(QSerialPort& port, const LineSettings& settings) {
  if (!port.isOpen()) return Failure("the port is not open");
#ifdef _WIN32
  if (!port.setBaudRate(settings.baud) || !port.setParity(qtParity(settings.parity)) ||
      !port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) ||
      !port.setStopBits(qtStopBits(settings.stopBits))) {
    return portError(port);
  }
#else
  // The frame format goes straight to termios: Qt would re-read the flags and
  // call a pseudo-terminal's forced 8 data bits and no parity a failure.
  termios terminal{};
  if (::tcgetattr(port.handle(), &terminal) != 0) return Failure(std::strerror(errno));
  if (!applyFrameFormat(terminal, settings)) return Failure("this system cannot send 1.5 stop bits");
  if (isPseudoTerminal(port.handle())) fitToPseudoTerminal(terminal);
  if (::tcsetattr(port.handle(), TCSANOW, &terminal) != 0) return Failure(std::strerror(errno));
  // Qt knows the ways to set a speed outside the standard table.
  if (!port.setBaudRate(settings.baud)) return portError(port);
#endif
  return {};
}

}  // namespace lumadot
