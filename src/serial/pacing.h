#pragma once

// How a serial device feeds the line, whatever the system's port: bytes are
// queued and handed to the driver as the line takes them, each frame within a
// bound set by its time on the line.

#include <chrono>
#include <cstdint>

#include "base/result.h"
#include "serial/line_settings.h"
#include "serial/serial_device.h"

namespace lumadot {

// Enough queued bytes to keep the line busy, few enough that a far end that
// stops reading is noticed while the listing is still being written.
inline constexpr std::int64_t kHighWater = 4096;
inline constexpr std::chrono::milliseconds kWaitSlice{100};  // longest pause between progress reports
inline constexpr std::chrono::milliseconds kSlack{2000};     // on top of twice the line time
inline constexpr std::chrono::milliseconds kDriverPoll{10};  // between looks at what the driver still holds

// What the pacing asks of a port.
class PacedPort {
 public:
  using Clock = std::chrono::steady_clock;

  virtual ~PacedPort() = default;
  virtual std::int64_t queued() const = 0;  // accepted, not yet handed to the driver
  virtual std::int64_t driverQueued() = 0;  // handed to the driver, not yet out of the port
  // Hands queued bytes to the driver, waiting for the line at most `within`
  // (or the port's own slice); a wait that ends with nothing taken is no failure.
  virtual Result<void> push(std::chrono::milliseconds within) = 0;
  virtual Clock::time_point now() const { return Clock::now(); }
  virtual void pause(std::chrono::milliseconds span);
};

class Pacing {
 public:
  explicit Pacing(PacedPort& port) : m_port(port) {}

  void opened();  // the frame's bound starts now, at the settings a port opens with
  void setSettings(const LineSettings& settings) { m_settings = settings; }
  void setWaitHook(SerialDevice::WaitHook hook) { m_hook = std::move(hook); }

  // `count` more bytes are queued: past the high water, half of them go to the driver.
  Result<void> accepted(std::int64_t count);
  // Every queued byte to the driver, and out of it.
  Result<void> drain();

 private:
  PacedPort::Clock::time_point deadline() const;
  void report();
  Result<void> pushUntil(std::int64_t limit);
  Result<void> waitForDriver();

  PacedPort& m_port;
  LineSettings m_settings;
  std::int64_t m_accepted = 0;  // bytes queued since open
  PacedPort::Clock::time_point m_openedAt;
  SerialDevice::WaitHook m_hook;
};

// The failure of a line that took no more bytes in time.
Failure lineStalled();

}  // namespace lumadot
