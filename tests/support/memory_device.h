#pragma once
// A serial device that keeps what it is sent, and can be made to vanish after
// a fuzzed number of bytes, as an unplugged adapter does.

#include <cstdint>
#include <limits>
#include <vector>

#include "serial/serial_device.h"

namespace lumadot::test {

class MemoryDevice final : public SerialDevice {
 public:
  explicit MemoryDevice(std::size_t vanishAfter = std::numeric_limits<std::size_t>::max())
      : m_vanishAfter(vanishAfter) {}

  void setPort(const PortChoice& port) override { m_port = port; }
  Result<void> open() override {
    if (m_vanishAfter == 0) return Failure("gone");
    m_open = true;
    return {};
  }
  Result<void> configure(const LineSettings&) override { return {}; }
  Result<void> write(std::span<const std::uint8_t> bytes) override {
    if (!m_open) return Failure("not open");
    if (bytes.size() > m_vanishAfter - sent.size()) return Failure("gone");
    sent.insert(sent.end(), bytes.begin(), bytes.end());
    return {};
  }
  Result<void> close() override {
    m_open = false;
    return {};
  }
  void abandon() override { m_open = false; }
  void setWaitHook(WaitHook) override {}

  const PortChoice& port() const { return m_port; }
  std::vector<std::uint8_t> sent;

 private:
  std::size_t m_vanishAfter;
  PortChoice m_port;
  bool m_open = false;
};

}  // namespace lumadot::test
