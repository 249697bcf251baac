#pragma once

#include <memory>
#include <string>

#include "serial/serial_device.h"

namespace lumadot {

// A real serial port as this system reaches it: Qt Serial Port on Linux, the
// Win32 API on Windows. comN is found by mapPort(); a device named by its
// path (/dev/ttyUSB0; COM17, \\.\COM17) is opened as it stands. Writes are
// paced (serial/pacing.h), so a run's listing never waits for more than a
// few kilobytes of the frame.
class SystemSerialDevice final : public SerialDevice {
 public:
  SystemSerialDevice();
  ~SystemSerialDevice() override;
  SystemSerialDevice(const SystemSerialDevice&) = delete;
  SystemSerialDevice& operator=(const SystemSerialDevice&) = delete;

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
