#include "serial/system_serial_receiver.h"

#include "serial/port_mapping.h"
#include "serial/system_port.h"

namespace lumadot {

struct SystemSerialReceiver::Impl {
  std::unique_ptr<SystemListeningPort> port = makeSystemListeningPort();
  std::string name;

  Failure fail(const Failure& why) const { return failureAt(name, why); }
};

SystemSerialReceiver::SystemSerialReceiver() : d(std::make_unique<Impl>()) {}

SystemSerialReceiver::~SystemSerialReceiver() { close(); }

Result<void> SystemSerialReceiver::openPort(const PortChoice& port, const LineSettings& settings) {
  close();
  const auto device = mappedDevice(port, d->name);
  if (!device) return d->fail(device.error());
  if (auto opened = d->port->open(*device, settings); !opened) return d->fail(opened.error());
  return {};
}

Result<std::vector<std::uint8_t>> SystemSerialReceiver::read(std::chrono::milliseconds wait) {
  if (!d->port->isOpen()) return d->fail(portNotOpen());
  auto bytes = d->port->read(wait);
  if (!bytes) return d->fail(bytes.error());
  return bytes;
}

void SystemSerialReceiver::close() {
  if (d->port->isOpen()) d->port->close();
}

bool SystemSerialReceiver::isOpen() const { return d->port->isOpen(); }

const std::string& SystemSerialReceiver::name() const { return d->name; }

}  // namespace lumadot
