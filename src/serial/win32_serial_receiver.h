#pragma once

#include <memory>
#include <string>

#include "serial/line_settings.h"
#include "serial/port_names.h"
#include "serial/serial_receiver.h"

namespace lumadot {

// The listening end of a serial line through the Win32 API, as the sign's
// controller has it: a port opened for this program alone and read as bytes
// come. A failure names the port and gives the system's reason.
class Win32SerialReceiver final : public SerialReceiver {
 public:
  Win32SerialReceiver();
  ~Win32SerialReceiver() override;
  Win32SerialReceiver(const Win32SerialReceiver&) = delete;
  Win32SerialReceiver& operator=(const Win32SerialReceiver&) = delete;

  // comN as the sending end finds it (LUMADOT_COMn, COMn), or a device path as it stands.
  Result<void> openPort(const PortChoice& port, const LineSettings& settings);
  // Waits at most ten seconds, however long `wait` is.
  Result<std::vector<std::uint8_t>> read(std::chrono::milliseconds wait) override;
  void close();
  bool isOpen() const;
  // "com1 (COM1)", or the device path alone when it was given.
  const std::string& name() const;

 private:
  Result<void> open(const std::string& device, const LineSettings& settings);

  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace lumadot
