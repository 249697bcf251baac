#pragma once

#include <memory>
#include <string>

#include "serial/line_settings.h"
#include "serial/port_names.h"
#include "serial/serial_receiver.h"

namespace lumadot {

// The listening end of a serial line, as the sign's controller has it: a
// port opened for this program alone and read as bytes come, through Qt
// Serial Port on Linux and the Win32 API on Windows. A failure names the
// port and gives the system's reason.
class SystemSerialReceiver final : public SerialReceiver {
 public:
  SystemSerialReceiver();
  ~SystemSerialReceiver() override;
  SystemSerialReceiver(const SystemSerialReceiver&) = delete;
  SystemSerialReceiver& operator=(const SystemSerialReceiver&) = delete;

  // comN as the sending end finds it (LUMADOT_COMn, ...), or a device path as it stands.
  Result<void> openPort(const PortChoice& port, const LineSettings& settings);
  // On Windows waits at most ten seconds, however long `wait` is.
  Result<std::vector<std::uint8_t>> read(std::chrono::milliseconds wait) override;
  void close();
  bool isOpen() const;
  // "com1 (/dev/pts/3)" or "com1 (COM1)", or the device path alone when it was given.
  const std::string& name() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace lumadot
