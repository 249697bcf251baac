#include "serial/qt_serial_device.h"

#include <QSerialPort>
#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

#include "serial/port_access.h"

#include <sys/ioctl.h>

namespace lumadot {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Enough queued bytes to keep the line busy, few enough that a far end that
// stops reading is noticed while the listing is still being written.
constexpr qint64 kHighWater = 4096;
constexpr milliseconds kWaitSlice{100};  // longest pause between progress reports
constexpr milliseconds kSlack{2000};     // on top of twice the line time

}  // namespace

struct QtSerialDevice::Impl {
  QSerialPort port;
  PortChoice choice{1, {}};
  std::string device;
  LineSettings settings;
  std::int64_t accepted = 0;  // bytes handed to write() since open
  Clock::time_point openedAt;
  WaitHook hook;
  std::optional<Failure> failure;  // once a frame is broken, every later write fails with it

  // The rest of the frame is dropped at once, so the port's notifier cannot
  // send it later, while the warning is on screen.
  Failure fail(const Failure& why) {
    if (port.isOpen()) port.clear(QSerialPort::Output);
    failure = failureAt(portLabel(choice, device), why);
    return *failure;
  }
  Failure failFromPort() { return fail(portError(port)); }
  Failure stalled() {
    return fail(Failure("the line took no more bytes in time").because({CauseKind::lineStalled}));
  }

  // Every byte accepted so far must be out by then: twice its time on the line, and some slack.
  Clock::time_point deadline() const {
    const std::int64_t lineMs = accepted * settings.bitsPerByte() * 1000 / std::max(settings.baud, 1);
    return openedAt + kSlack + milliseconds(2 * lineMs);
  }

  // Bytes the driver holds that have not yet left the port.
  std::int64_t driverQueued() {
    int queued = 0;
    if (::ioctl(port.handle(), TIOCOUTQ, &queued) == 0) return queued;
    return 0;
  }

  void report() {
    if (hook) hook(accepted - port.bytesToWrite() - driverQueued());
  }

  // Hands queued bytes to the driver until at most `limit` are left.
  Result<void> pushUntil(qint64 limit) {
    while (port.bytesToWrite() > limit) {
      const auto left = std::chrono::duration_cast<milliseconds>(deadline() - Clock::now());
      if (left.count() <= 0) return stalled();
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
      if (Clock::now() >= deadline()) return stalled();
      std::this_thread::sleep_for(milliseconds(10));
      report();
    }
    return {};
  }
};

QtSerialDevice::QtSerialDevice() : d(std::make_unique<Impl>()) {}

QtSerialDevice::~QtSerialDevice() { abandon(); }

void QtSerialDevice::setPort(const PortChoice& port) { d->choice = port; }

Result<void> QtSerialDevice::open() {
  d->failure.reset();
  const auto device = mappedDevice(d->choice);
  d->device = device ? *device : std::string();
  if (!device) return d->fail(device.error());
  if (auto opened = openPort(d->port, *device, QIODevice::WriteOnly); !opened) return d->fail(opened.error());
  d->accepted = 0;
  d->settings = LineSettings{};
  d->openedAt = Clock::now();
  return {};
}

Result<void> QtSerialDevice::configure(const LineSettings& settings) {
  if (!d->port.isOpen()) return d->fail(notOpen());
  d->settings = settings;
  if (auto configured = configurePort(d->port, settings); !configured) return d->fail(configured.error());
  return {};
}

Result<void> QtSerialDevice::write(std::span<const std::uint8_t> bytes) {
  if (d->failure) return *d->failure;
  if (!d->port.isOpen()) return d->fail(notOpen());
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
