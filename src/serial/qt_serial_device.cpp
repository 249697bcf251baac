#include "serial/qt_serial_device.h"

#include <QSerialPort>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

#include "serial/port_mapping.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "serial/termios_settings.h"
#endif

namespace lumadot {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Enough queued bytes to keep the line busy, few enough that a far end that
// stops reading is noticed while the listing is still being written.
constexpr qint64 kHighWater = 4096;
constexpr milliseconds kWaitSlice{100};  // longest pause between progress reports
constexpr milliseconds kSlack{2000};     // on top of twice the line time

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

}  // namespace

struct QtSerialDevice::Impl {
  QSerialPort port;
  int number = 1;
  std::string device;
  LineSettings settings;
  std::int64_t accepted = 0;  // bytes handed to write() since open
  Clock::time_point openedAt;
  WaitHook hook;
  std::optional<Failure> failure;  // once a frame is broken, every later write fails with it

  // The rest of the frame is dropped at once, so the port's notifier cannot
  // send it later, while the warning is on screen.
  Failure fail(const std::string& why) {
    if (port.isOpen()) port.clear(QSerialPort::Output);
    failure = Failure("com" + std::to_string(number) + (device.empty() ? "" : " (" + device + ")") + ": " + why);
    return *failure;
  }
  Failure failFromPort() { return fail(port.errorString().toStdString()); }

  // Qt reports a lock file held by another program as a permission error;
  // told apart from a real one, each gets its own remedy.
  Failure failToOpen() {
#ifndef _WIN32
    if (port.error() == QSerialPort::PermissionError) {
      if (::access(device.c_str(), R_OK | W_OK) == 0) return fail("the port is in use by another program");
      return fail(port.errorString().toStdString() +
                  "; only root and the port's group (dialout on Debian) may use it: sudo adduser $USER dialout, "
                  "then log in again");
    }
#endif
    return failFromPort();
  }

  // Every byte accepted so far must be out by then: twice its time on the line, and some slack.
  Clock::time_point deadline() const {
    const std::int64_t lineMs = accepted * settings.bitsPerByte() * 1000 / std::max(settings.baud, 1);
    return openedAt + kSlack + milliseconds(2 * lineMs);
  }

  // Bytes the driver holds that have not yet left the port.
  std::int64_t driverQueued() {
#ifdef _WIN32
    COMSTAT status{};
    DWORD errors = 0;
    if (ClearCommError(port.handle(), &errors, &status)) return status.cbOutQue;
#else
    int queued = 0;
    if (::ioctl(port.handle(), TIOCOUTQ, &queued) == 0) return queued;
#endif
    return 0;
  }

  void report() {
    if (hook) hook(accepted - port.bytesToWrite() - driverQueued());
  }

  // Hands queued bytes to the driver until at most `limit` are left.
  Result<void> pushUntil(qint64 limit) {
    while (port.bytesToWrite() > limit) {
      const auto left = std::chrono::duration_cast<milliseconds>(deadline() - Clock::now());
      if (left.count() <= 0) return fail("the line took no more bytes in time");
      if (!port.waitForBytesWritten(static_cast<int>(std::min(left, kWaitSlice).count()))) {
        if (port.error() != QSerialPort::TimeoutError) return failFromPort();
        port.clearError();
      }
      report();
    }
    return {};
  }

  Result<void> waitForDriver() {
    while (driverQueued() > 0) {
      if (Clock::now() >= deadline()) return fail("the line took no more bytes in time");
      std::this_thread::sleep_for(milliseconds(10));
      report();
    }
    return {};
  }
};

QtSerialDevice::QtSerialDevice() : d(std::make_unique<Impl>()) {}

QtSerialDevice::~QtSerialDevice() { abandon(); }

void QtSerialDevice::setPort(int number) { d->number = number; }

Result<void> QtSerialDevice::open() {
  d->failure.reset();
  const PortMapping mapping = mapPort(d->number);
  d->device = mapping.device;
  if (mapping.source == PortMapping::Source::none) {
    return d->fail("the system lists fewer than " + std::to_string(d->number) +
                   " serial ports; set LUMADOT_COM" + std::to_string(d->number) +
                   " to the device to use, e.g. LUMADOT_COM" + std::to_string(d->number) + "=/dev/ttyUSB0");
  }
  d->port.clearError();
  d->port.setPortName(QString::fromStdString(mapping.device));
  if (!d->port.open(QIODevice::WriteOnly)) return d->failToOpen();
#ifndef _WIN32
  // Qt's lock file keeps out programs that honour lock files; flock keeps
  // out those that use flock instead, and root, whom TIOCEXCL does not stop.
  if (::flock(d->port.handle(), LOCK_EX | LOCK_NB) != 0) {
    d->port.close();
    return d->fail("the port is in use by another program");
  }
#endif
  d->accepted = 0;
  d->settings = LineSettings{};
  d->openedAt = Clock::now();
  return {};
}

Result<void> QtSerialDevice::configure(const LineSettings& settings) {
  if (!d->port.isOpen()) return d->fail("the port is not open");
  d->settings = settings;
#ifdef _WIN32
  if (!d->port.setBaudRate(settings.baud) || !d->port.setParity(qtParity(settings.parity)) ||
      !d->port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits)) ||
      !d->port.setStopBits(qtStopBits(settings.stopBits))) {
    return d->failFromPort();
  }
#else
  // The frame format goes straight to termios: Qt would re-read the flags and
  // call a pseudo-terminal's forced 8 data bits and no parity a failure.
  termios terminal{};
  if (::tcgetattr(d->port.handle(), &terminal) != 0) return d->fail(std::strerror(errno));
  if (!applyFrameFormat(terminal, settings)) return d->fail("this system cannot send 1.5 stop bits");
  if (isPseudoTerminal(d->port.handle())) fitToPseudoTerminal(terminal);
  if (::tcsetattr(d->port.handle(), TCSANOW, &terminal) != 0) return d->fail(std::strerror(errno));
  // Qt knows the ways to set a speed outside the standard table.
  if (!d->port.setBaudRate(settings.baud)) return d->failFromPort();
#endif
  return {};
}

Result<void> QtSerialDevice::write(std::span<const std::uint8_t> bytes) {
  if (d->failure) return *d->failure;
  if (!d->port.isOpen()) return d->fail("the port is not open");
  const auto size = static_cast<qint64>(bytes.size());
  if (d->port.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return d->failFromPort();
  d->accepted += size;
  if (d->port.bytesToWrite() < kHighWater) return {};
  return d->pushUntil(kHighWater / 2);
}

Result<void> QtSerialDevice::close() {
  if (!d->port.isOpen()) return {};
  Result<void> sent = d->failure ? Result<void>(*d->failure) : d->pushUntil(0);
  if (sent) sent = d->waitForDriver();
  d->port.close();
  return sent;
}

// Dropping the queue first keeps the close from waiting for the driver to drain it.
void QtSerialDevice::abandon() {
  if (!d->port.isOpen()) return;
  d->port.clear(QSerialPort::Output);
  d->port.close();
}

void QtSerialDevice::setWaitHook(WaitHook hook) { d->hook = std::move(hook); }

}  // namespace lumadot
