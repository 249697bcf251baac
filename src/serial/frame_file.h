#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "serial/serial_device.h"

namespace lumadot {

// A serial device that writes each frame to a file instead of a port: the
// same bytes, no port needed. The first frame replaces the file, later ones
// are appended, so a clock's frames follow each other. A frame is written
// only when it is complete, so a failed run leaves the file as it was.
class FrameFile final : public SerialDevice {
 public:
  explicit FrameFile(std::filesystem::path path) : m_path(std::move(path)) {}

  void setPort(const PortChoice&) override {}
  Result<void> open() override;
  Result<void> configure(const LineSettings&) override { return {}; }
  Result<void> write(std::span<const std::uint8_t> bytes) override;
  Result<void> close() override;
  void abandon() override;
  void setWaitHook(WaitHook) override {}
  std::string fileName() const override { return m_path.string(); }

 private:
  std::filesystem::path m_path;
  std::vector<std::uint8_t> m_frame;
  bool m_isOpen = false;
  bool m_replaced = false;
};

}  // namespace lumadot
