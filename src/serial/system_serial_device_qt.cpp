#include <QSerialPort>
#include <optional>

#include "serial/pacing.h"
#include "serial/port_access.h"
#include "serial/system_serial_device.h"

#include <sys/ioctl.h>

namespace lumadot {
namespace {

// Qt's own write buffer is the queue; the driver's is asked with TIOCOUTQ.
class QtPacedPort final : public PacedPort {
 public:
  QSerialPort port;

  std::int64_t queued() const override { return port.bytesToWrite(); }
  std::int64_t driverQueued() override {
    int queued = 0;
    if (::ioctl(port.handle(), TIOCOUTQ, &queued) == 0) return queued;
    return 0;
  }
  Result<void> push(std::chrono::milliseconds within) override {
    if (!port.waitForBytesWritten(static_cast<int>(within.count()))) {
      if (port.error() != QSerialPort::TimeoutError) return portError(port);
      port.clearError();
    }
    return {};
  }
};

}  // namespace

struct SystemSerialDevice::Impl {
  QtPacedPort paced;
  QSerialPort& port = paced.port;
  Pacing pacing{paced};
  PortChoice choice{1, {}};
  std::string device;
  std::optional<Failure> failure;  // once a frame is broken, every later write fails with it

  // The rest of the frame is dropped at once, so the port's notifier cannot
  // send it later, while the warning is on screen.
  Failure fail(const Failure& why) {
    if (port.isOpen()) port.clear(QSerialPort::Output);
    failure = failureAt(portLabel(choice, device), why);
    return *failure;
  }
};

SystemSerialDevice::SystemSerialDevice() : d(std::make_unique<Impl>()) {}

SystemSerialDevice::~SystemSerialDevice() { abandon(); }

void SystemSerialDevice::setPort(const PortChoice& port) { d->choice = port; }

Result<void> SystemSerialDevice::open() {
  d->failure.reset();
  const auto device = mappedDevice(d->choice);
  d->device = device ? *device : std::string();
  if (!device) return d->fail(device.error());
  if (auto opened = openPort(d->port, *device, QIODevice::WriteOnly); !opened) return d->fail(opened.error());
  d->pacing.opened();
  return {};
}

Result<void> SystemSerialDevice::configure(const LineSettings& settings) {
  if (!d->port.isOpen()) return d->fail(notOpen());
  d->pacing.setSettings(settings);
  if (auto configured = configurePort(d->port, settings); !configured) return d->fail(configured.error());
  return {};
}

Result<void> SystemSerialDevice::write(std::span<const std::uint8_t> bytes) {
  if (d->failure) return *d->failure;
  if (!d->port.isOpen()) return d->fail(notOpen());
  const auto size = static_cast<qint64>(bytes.size());
  if (d->port.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return d->fail(portError(d->port));
  if (auto paced = d->pacing.accepted(size); !paced) return d->fail(paced.error());
  return {};
}

Result<void> SystemSerialDevice::close() {
  if (!d->port.isOpen()) return {};
  Result<void> sent = d->failure ? Result<void>(*d->failure) : d->pacing.drain();
  if (!sent && !d->failure) sent = d->fail(sent.error());
  d->port.close();
  return sent;
}

// Dropping the queue first keeps the close from waiting for the driver to drain it.
void SystemSerialDevice::abandon() {
  if (!d->port.isOpen()) return;
  d->port.clear(QSerialPort::Output);
  d->port.close();
}

void SystemSerialDevice::setWaitHook(WaitHook hook) { d->pacing.setWaitHook(std::move(hook)); }

}  // namespace lumadot
