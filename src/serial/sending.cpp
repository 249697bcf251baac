#include "serial/sending.h"

#include <array>
#include <charconv>

namespace lumadot {
namespace {

// Reports and ends the frame for the progress display, whatever way the send goes.
class FrameProgress {
 public:
  FrameProgress(SerialDevice& device, SendProgress* progress, std::size_t bytes)
      : m_device(device), m_progress(progress) {
    if (!m_progress) return;
    m_progress->frameStarted(static_cast<std::int64_t>(bytes));
    m_device.setWaitHook([progress](std::int64_t sent) { progress->bytesSent(sent); });
  }
  ~FrameProgress() {
    if (!m_progress) return;
    m_device.setWaitHook({});
    m_progress->frameEnded();
  }
  FrameProgress(const FrameProgress&) = delete;
  FrameProgress& operator=(const FrameProgress&) = delete;

 private:
  SerialDevice& m_device;
  SendProgress* m_progress;
};

}  // namespace

Result<void> openLine(SerialDevice& device, const PortChoice& port, const LineSettings& settings) {
  device.setPort(port);
  if (auto opened = device.open(); !opened) return opened;
  if (auto configured = device.configure(settings); !configured) {
    device.abandon();
    return configured;
  }
  return {};
}

SendReport send(SerialDevice& device, std::span<const std::uint8_t> bytes, SendProgress* progress) {
  const FrameProgress frame(device, progress, bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (auto written = device.write(bytes.subspan(i, 1)); !written) {
      device.abandon();
      return {i, written};
    }
  }
  return {bytes.size(), device.close()};
}

std::u16string amountText(std::int32_t glyphByteCount, std::u16string_view decimalSeparator) {
  std::array<char, 32> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), glyphByteCount / 1024.0,
                                 std::chars_format::general, 15)
                       .ptr;
  std::u16string text;
  for (const char* p = digits.data(); p != end; ++p) {
    if (*p == '.') {
      text += decimalSeparator;
    } else {
      text += static_cast<char16_t>(*p);
    }
  }
  if (text.size() > 4) text.resize(4);
  return text;
}

}  // namespace lumadot
