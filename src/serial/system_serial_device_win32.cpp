#include <algorithm>
#include <optional>
#include <vector>

#include "serial/pacing.h"
#include "serial/port_mapping.h"
#include "serial/system_serial_device.h"
#include "serial/win32_port.h"

namespace lumadot {
namespace {

// The queue is ours: a WriteFile blocks until the driver takes it all, and
// gives up after a slice, so the bound is checked between them.
class Win32PacedPort final : public PacedPort {
 public:
  Win32Port port;
  std::vector<std::uint8_t> queue;  // accepted, not yet handed to the driver

  std::int64_t queued() const override { return static_cast<std::int64_t>(queue.size()); }
  std::int64_t driverQueued() override {
    COMSTAT status{};
    DWORD errors = 0;
    return ClearCommError(port.handle(), &errors, &status) ? status.cbOutQue : 0;
  }
  Result<void> push(std::chrono::milliseconds) override {
    DWORD written = 0;
    if (!WriteFile(port.handle(), queue.data(), static_cast<DWORD>(queue.size()), &written, nullptr)) {
      return systemFailure(GetLastError());
    }
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(written, queue.size())));
    return {};
  }
  void dropQueued() {
    queue.clear();
    if (port.isOpen()) PurgeComm(port.handle(), PURGE_TXABORT | PURGE_TXCLEAR);
  }
};

}  // namespace

struct SystemSerialDevice::Impl {
  Win32PacedPort paced;
  Win32Port& port = paced.port;
  Pacing pacing{paced};
  PortChoice choice{1, {}};
  std::string device;
  std::optional<Failure> failure;  // once a frame is broken, every later write fails with it

  // The rest of the frame is dropped at once, so none of it goes out later.
  Failure fail(const Failure& why) {
    paced.dropQueued();
    failure = failureAt(portLabel(choice, device), why);
    return *failure;
  }
};

SystemSerialDevice::SystemSerialDevice() : d(std::make_unique<Impl>()) {}

SystemSerialDevice::~SystemSerialDevice() { abandon(); }

void SystemSerialDevice::setPort(const PortChoice& port) { d->choice = port; }

Result<void> SystemSerialDevice::open() {
  d->failure.reset();
  d->port.close();
  d->paced.queue.clear();
  const auto device = mappedDevice(d->choice);
  d->device = device ? *device : std::string();
  if (!device) return d->fail(device.error());
  if (auto opened = d->port.open(*device); !opened) return d->fail(opened.error());
  COMMTIMEOUTS timeouts{};
  timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(kWaitSlice.count());
  if (auto timed = d->port.setTimeouts(timeouts); !timed) {
    d->port.close();
    return d->fail(timed.error());
  }
  d->pacing.opened();
  return {};
}

Result<void> SystemSerialDevice::configure(const LineSettings& settings) {
  if (!d->port.isOpen()) return d->fail(portNotOpen());
  d->pacing.setSettings(settings);
  if (auto configured = d->port.configure(settings); !configured) return d->fail(configured.error());
  return {};
}

Result<void> SystemSerialDevice::write(std::span<const std::uint8_t> bytes) {
  if (d->failure) return *d->failure;
  if (!d->port.isOpen()) return d->fail(portNotOpen());
  d->paced.queue.insert(d->paced.queue.end(), bytes.begin(), bytes.end());
  if (auto paced = d->pacing.accepted(static_cast<std::int64_t>(bytes.size())); !paced) return d->fail(paced.error());
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
  d->paced.dropQueued();
  d->port.close();
}

void SystemSerialDevice::setWaitHook(WaitHook hook) { d->pacing.setWaitHook(std::move(hook)); }

}  // namespace lumadot
