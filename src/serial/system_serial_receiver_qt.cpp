#include "serial/system_serial_receiver.h"

#include <QSerialPort>

#include "serial/port_access.h"

namespace lumadot {

struct SystemSerialReceiver::Impl {
  QSerialPort port;
  std::string name;

  Failure fail(const Failure& why) const { return failureAt(name, why); }
};

SystemSerialReceiver::SystemSerialReceiver() : d(std::make_unique<Impl>()) {}

SystemSerialReceiver::~SystemSerialReceiver() { close(); }

Result<void> SystemSerialReceiver::openPort(const PortChoice& port, const LineSettings& settings) {
  close();
  const auto device = mappedDevice(port, d->name);
  if (!device) return d->fail(device.error());
  return open(*device, settings);
}

Result<void> SystemSerialReceiver::open(const std::string& device, const LineSettings& settings) {
  if (auto opened = lumadot::openPort(d->port, device, QIODevice::ReadOnly); !opened) {
    return d->fail(opened.error());
  }
  if (auto configured = configurePort(d->port, settings); !configured) {
    d->port.close();
    return d->fail(configured.error());
  }
  return {};
}

Result<std::vector<std::uint8_t>> SystemSerialReceiver::read(std::chrono::milliseconds wait) {
  if (!d->port.isOpen()) return d->fail(notOpen());
  if (d->port.bytesAvailable() == 0 && wait.count() > 0) d->port.waitForReadyRead(static_cast<int>(wait.count()));
  const QByteArray bytes = d->port.readAll();
  if (!bytes.isEmpty()) return std::vector<std::uint8_t>(bytes.begin(), bytes.end());  // an error waits for the next read
  // A read error on a listening port is its device going: an unplugged
  // adapter, or the far end of a pseudo-terminal closed.
  const auto error = d->port.error();
  if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
    const std::string words = d->port.errorString().toStdString();
    return d->fail(Failure("the port went away: " + words).because({CauseKind::portGone, words}));
  }
  d->port.clearError();
  return std::vector<std::uint8_t>();
}

void SystemSerialReceiver::close() {
  if (d->port.isOpen()) d->port.close();
}

bool SystemSerialReceiver::isOpen() const { return d->port.isOpen(); }

const std::string& SystemSerialReceiver::name() const { return d->name; }

}  // namespace lumadot
