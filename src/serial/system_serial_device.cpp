#include "serial/system_serial_device.h"

#include <optional>

#include "serial/port_mapping.h"
#include "serial/system_port.h"

namespace lumadot {

Failure portNotOpen() { return Failure("the port is not open").because({CauseKind::portNotOpen}); }

struct SystemSerialDevice::Impl {
  std::unique_ptr<SystemPort> port = makeSystemPort();
  Pacing pacing{*port};
  PortChoice choice{1, {}};
  std::string device;
  std::optional<Failure> failure;  // once a frame is broken, every later write fails with it

  // The rest of the frame is dropped at once, so none of it goes out later,
  // while the warning is on screen.
  Failure fail(const Failure& why) {
    port->dropQueued();
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
  if (auto opened = d->port->open(*device); !opened) return d->fail(opened.error());
  d->pacing.opened();
  return {};
}

Result<void> SystemSerialDevice::configure(const LineSettings& settings) {
  if (!d->port->isOpen()) return d->fail(portNotOpen());
  d->pacing.setSettings(settings);
  if (auto configured = d->port->configure(settings); !configured) return d->fail(configured.error());
  return {};
}

Result<void> SystemSerialDevice::write(std::span<const std::uint8_t> bytes) {
  if (d->failure) return *d->failure;
  if (!d->port->isOpen()) return d->fail(portNotOpen());
  if (auto queued = d->port->enqueue(bytes); !queued) return d->fail(queued.error());
  if (auto paced = d->pacing.accepted(static_cast<std::int64_t>(bytes.size())); !paced) return d->fail(paced.error());
  return {};
}

Result<void> SystemSerialDevice::close() {
  if (!d->port->isOpen()) return {};
  Result<void> sent = d->failure ? Result<void>(*d->failure) : d->pacing.drain();
  if (!sent && !d->failure) sent = d->fail(sent.error());
  d->port->close();
  return sent;
}

// Dropping the queue first keeps the close from waiting for the driver to drain it.
void SystemSerialDevice::abandon() {
  if (!d->port->isOpen()) return;
  d->port->dropQueued();
  d->port->close();
}

void SystemSerialDevice::setWaitHook(WaitHook hook) { d->pacing.setWaitHook(std::move(hook)); }

}  // namespace lumadot
