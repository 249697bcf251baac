#pragma once

#include <memory>
#include <string>

#include "serial/serial_device.h"

namespace lumadot {

// A real serial port through Qt Serial Port; comN is found by mapPort(), a
// device named by its path is opened as it stands.
// Writes are queued and pushed out as the line takes them, so a run's
// listing never waits for more than a few kilobytes of the frame.
class QtSerialDevice final : public SerialDevice {
 public:
  QtSerialDevice();
  ~QtSerialDevice() override;
  QtSerialDevice(const QtSerialDevice&) = delete;
  QtSerialDevice& operator=(const QtSerialDevice&) = delete;

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
