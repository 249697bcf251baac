#pragma once

// A frame's bytes on their way out through a serial device, reporting how
// far they got.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "base/result.h"
#include "serial/serial_device.h"

namespace lumadot {

// Follows a frame on its way out, for a progress display.
class SendProgress {
 public:
  virtual ~SendProgress() = default;
  virtual void frameStarted(std::int64_t frameBytes) = 0;
  virtual void bytesSent(std::int64_t sent) = 0;  // only while the port waits for the line
  virtual void frameEnded() = 0;
};

// Chooses `port`, opens it for this program alone and sets its line. A port
// that opens but takes no settings is closed again at once.
Result<void> openLine(SerialDevice& device, const PortChoice& port, const LineSettings& settings);

struct SendReport {
  std::size_t sent = 0;  // bytes the device took before it failed: all of them when it did not
  Result<void> result;   // the device's own failure
};

// Writes `bytes` to the open `device` and closes it, waiting for the line
// within the device's bound. The bytes go one at a time, so a device that
// fails part-way says exactly which byte it failed at; after a failure the
// rest is dropped and the device closed at once.
SendReport send(SerialDevice& device, std::span<const std::uint8_t> bytes, SendProgress* progress = nullptr);

// glyphByteCount / 1024 as a plain number with the given decimal separator,
// cut to four characters: 16 bytes give "0.01", 1536 give "1.5".
std::u16string amountText(std::int32_t glyphByteCount, std::u16string_view decimalSeparator);

}  // namespace lumadot
