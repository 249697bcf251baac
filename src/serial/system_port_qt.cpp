#include <QSerialPort>

#include "serial/port_access.h"
#include "serial/system_port.h"

#include <sys/ioctl.h>

namespace lumadot {
namespace {

// Qt's own write buffer is the queue; the driver's is asked with TIOCOUTQ.
class QtPort final : public SystemPort {
 public:
  std::int64_t queued() const override { return m_port.bytesToWrite(); }
  std::int64_t driverQueued() override {
    int queued = 0;
    if (::ioctl(m_port.handle(), TIOCOUTQ, &queued) == 0) return queued;
    return 0;
  }
  Result<void> push(std::chrono::milliseconds within) override {
    if (!m_port.waitForBytesWritten(static_cast<int>(within.count()))) {
      if (m_port.error() != QSerialPort::TimeoutError) return portError(m_port);
      m_port.clearError();
    }
    return {};
  }

  Result<void> open(const std::string& device) override { return openPort(m_port, device, QIODevice::WriteOnly); }
  Result<void> configure(const LineSettings& settings) override { return configurePort(m_port, settings); }
  Result<void> enqueue(std::span<const std::uint8_t> bytes) override {
    const auto size = static_cast<qint64>(bytes.size());
    if (m_port.write(reinterpret_cast<const char*>(bytes.data()), size) != size) return portError(m_port);
    return {};
  }
  // Also keeps the port's notifier from sending the rest later.
  void dropQueued() override {
    if (m_port.isOpen()) m_port.clear(QSerialPort::Output);
  }
  bool isOpen() const override { return m_port.isOpen(); }
  void close() override { m_port.close(); }

 private:
  QSerialPort m_port;
};

class QtListeningPort final : public SystemListeningPort {
 public:
  Result<void> open(const std::string& device, const LineSettings& settings) override {
    if (auto opened = openPort(m_port, device, QIODevice::ReadOnly); !opened) return opened;
    if (auto configured = configurePort(m_port, settings); !configured) {
      m_port.close();
      return configured;
    }
    return {};
  }
  Result<std::vector<std::uint8_t>> read(std::chrono::milliseconds wait) override {
    if (m_port.bytesAvailable() == 0 && wait.count() > 0) m_port.waitForReadyRead(static_cast<int>(wait.count()));
    const QByteArray bytes = m_port.readAll();
    if (!bytes.isEmpty()) return std::vector<std::uint8_t>(bytes.begin(), bytes.end());  // an error waits for the next read
    // A read error on a listening port is its device going: an unplugged
    // adapter, or the far end of a pseudo-terminal closed.
    const auto error = m_port.error();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
      const std::string words = m_port.errorString().toStdString();
      return Failure("the port went away: " + words).because({CauseKind::portGone, words});
    }
    m_port.clearError();
    return std::vector<std::uint8_t>();
  }
  bool isOpen() const override { return m_port.isOpen(); }
  void close() override { m_port.close(); }

 private:
  QSerialPort m_port;
};

}  // namespace

std::unique_ptr<SystemPort> makeSystemPort() { return std::make_unique<QtPort>(); }

std::unique_ptr<SystemListeningPort> makeSystemListeningPort() { return std::make_unique<QtListeningPort>(); }

}  // namespace lumadot
