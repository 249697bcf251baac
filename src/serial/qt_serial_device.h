#pragma once

#include <memory>
#include <string>

#include "serial/serial_device.h"

namespace lumadot {

// A real serial port through Qt Serial Port; comN is found by mapPort().
// Writes are queued and pushed out as the line takes them, so a run's
// listing never waits for more than a few kilobytes of the frame.
class QtSerialDevice final : public SerialDevice {
 public:
  QtSerialDevice();
  ~QtSerialDevice() override;
  QtSerialDevice(const QtSerialDevice&) = delete;
  QtSerialDevice& operator=(const QtSerialDevice&) = delete;

  void setPort(int number) override;
  bool open() override;
  bool configure(const LineSettings& settings) override;
  bool write(std::span<const std::uint8_t> bytes) override;
  bool close() override;
  void abandon() override;
  void setWaitHook(WaitHook hook) override;
  const std::string& error() const override;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace lumadot
