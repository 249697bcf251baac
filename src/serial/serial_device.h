#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "serial/line_settings.h"

namespace lumadot {

// A serial port as one run uses it: choose it, open it for this program
// alone, give it line settings, queue bytes, close it.
class SerialDevice {
 public:
  // Told now and then, while a write or close waits for the line, how many
  // bytes have left the port since it was opened.
  using WaitHook = std::function<void(std::int64_t sent)>;

  virtual ~SerialDevice() = default;
  virtual void setPort(int number) = 0;  // com1 is 1; used by the next open
  virtual bool open() = 0;               // fails when the port is missing or held
  virtual bool configure(const LineSettings& settings) = 0;
  virtual bool write(std::span<const std::uint8_t> bytes) = 0;  // after every byte queued before
  // Waits, within a bound, until the queued bytes have left, then closes.
  // Closing a closed port does nothing.
  virtual bool close() = 0;
  // Closes at once after a failure, dropping whatever is still queued.
  virtual void abandon() = 0;
  virtual void setWaitHook(WaitHook hook) = 0;
  // Why the last operation failed, naming the device; empty after success.
  virtual const std::string& error() const = 0;
};

}  // namespace lumadot
