#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "base/result.h"
#include "serial/line_settings.h"
#include "serial/port_names.h"

namespace lumadot {

// A serial port as one run uses it: choose it, open it for this program
// alone, give it line settings, queue bytes, close it. A failure names the
// device and gives the system's reason.
class SerialDevice {
 public:
  // Told now and then, while a write or close waits for the line, how many
  // bytes have left the port since it was opened.
  using WaitHook = std::function<void(std::int64_t sent)>;

  virtual ~SerialDevice() = default;
  virtual void setPort(const PortChoice& port) = 0;  // used by the next open
  virtual Result<void> open() = 0;       // fails when the port is missing or held
  virtual Result<void> configure(const LineSettings& settings) = 0;
  virtual Result<void> write(std::span<const std::uint8_t> bytes) = 0;  // after every byte queued before
  // Waits, within a bound, until the queued bytes have left, then closes.
  // Closing a closed port does nothing.
  virtual Result<void> close() = 0;
  // Closes at once after a failure, dropping whatever is still queued.
  virtual void abandon() = 0;
  virtual void setWaitHook(WaitHook hook) = 0;
  // The file standing in for the port, which failures then name; empty for a port.
  virtual std::string fileName() const { return {}; }
};

}  // namespace lumadot
