#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "base/utf8_path.h"
#include "serial/serial_device.h"

namespace lumadot {

// A serial device that writes each frame to a file instead of a port: the
// same bytes, no port needed. The file holds every frame this device has
// sent, so a clock's frames follow each other, and whatever the file held
// before the first one is replaced. It is replaced whole, through the one
// file writer, each time a frame is complete, so a failed run leaves it
// holding the frames completed before.
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
  std::string fileName() const override { return utf8Path(m_path); }

 private:
  std::filesystem::path m_path;
  std::vector<std::uint8_t> m_written;  // the frames the file holds
  std::size_t m_frameStart = 0;         // where the frame in progress begins in m_written
  bool m_isOpen = false;
};

}  // namespace lumadot
