#pragma once

#include <memory>
#include <string>

#include "serial/serial_device.h"

namespace lumadot {

// A real serial port through the Win32 API; comN is found by mapPort(), a
// device named by its path (COM17, \\.\COM17) is opened as it stands.
// Writes are queued and handed to the driver as the line takes them, so a
// run's listing never waits for more than a few kilobytes of the frame.
class Win32SerialDevice final : public SerialDevice {
 public:
  Win32SerialDevice();
  ~Win32SerialDevice() override;
  Win32SerialDevice(const Win32SerialDevice&) = delete;
  Win32SerialDevice& operator=(const Win32SerialDevice&) = delete;

  void setPort(const PortChoice& port) override;
  Result<void> open() override;
  Result<void> configure(const LineSettings& settings) override;
  Result<void> write(std::span<const std::uint8_t> bytes) override;
  Result<void> close() override;
  void abandon() override;
  void setWaitHook(WaitHook hook) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace lumadot
