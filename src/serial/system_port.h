#pragma once

// What the serial device asks of this system's port: Qt Serial Port on Linux
// (system_port_qt.cpp), the Win32 API on Windows (system_port_win32.cpp).
// Failures give the reason only; the device names the port.

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "serial/pacing.h"

namespace lumadot {

class SystemPort : public PacedPort {
 public:
  // For writing, by this program alone.
  virtual Result<void> open(const std::string& device) = 0;
  virtual Result<void> configure(const LineSettings& settings) = 0;
  // Queued behind every byte before, for the pacing to hand to the driver.
  virtual Result<void> enqueue(std::span<const std::uint8_t> bytes) = 0;
  // Whatever is queued, here and in the driver, never goes out.
  virtual void dropQueued() = 0;
  virtual bool isOpen() const = 0;
  virtual void close() = 0;
};

std::unique_ptr<SystemPort> makeSystemPort();

// The listening end's port.
class SystemListeningPort {
 public:
  virtual ~SystemListeningPort() = default;
  // For reading, by this program alone; closed again when the settings fail.
  virtual Result<void> open(const std::string& device, const LineSettings& settings) = 0;
  // Of an open port: the bytes that have come, waiting up to `wait` for the first.
  virtual Result<std::vector<std::uint8_t>> read(std::chrono::milliseconds wait) = 0;
  virtual bool isOpen() const = 0;
  virtual void close() = 0;
};

std::unique_ptr<SystemListeningPort> makeSystemListeningPort();

// A port used before it was opened.
Failure portNotOpen();

}  // namespace lumadot
