#include "serial/serial_transmission.h"

#include <array>
#include <utility>

#include "serial/display_frame.h"
#include "extract/text_codec.h"
#include "serial/port_names.h"

namespace lumadot {
namespace {

Failure boxWarning(std::string_view boxName, std::u16string_view text) {
  return Failure(std::string(boxName) + "“" + utf16ToUtf8(text) + "”无效");
}

std::string tooWideReason(int columnCount) {
  return "the text is " + std::to_string(columnCount) + " columns wide, and a frame holds at most " +
         std::to_string(kWidestFrame) + " (" + std::to_string(kWidestFrame / 2) +
         " Chinese characters and one single-byte one)";
}

}  // namespace

SerialTransmission::SerialTransmission(SerialDevice& device, SendBoxes boxes, std::u16string decimalSeparator,
                                       SendProgress* progress)
    : m_device(device),
      m_boxes(std::move(boxes)),
      m_decimalSeparator(std::move(decimalSeparator)),
      m_progress(progress) {}

// A run always closes; this only guards a port left open by an exception.
SerialTransmission::~SerialTransmission() {
  if (!m_failure) m_failure = portFailure();
  static_cast<void>(close());
}

// A text that names no port sends nothing: sending to whichever port was
// chosen before, under the typed name, would mislead.
Result<void> SerialTransmission::selectPort() {
  const auto port = portChoice(m_boxes.port);
  if (!port) return portFailure(unknownPortReason(m_boxes.port));
  m_device.setPort(*port);
  return {};
}

// A speed or mode the sign has no byte for would shift the frame and make the
// sign misread it, so it stops the send before the port is touched.
Result<void> SerialTransmission::open() {
  const auto speed = speedByte(m_boxes.speed);
  if (!speed) return boxWarning("显示速度", m_boxes.speed);
  const auto mode = modeByte(m_boxes.mode);
  if (!mode) return boxWarning("显示方式", m_boxes.mode);
  m_speed = *speed;
  m_mode = *mode;

  const auto settings =
      parseLineSettings(settingsText(m_boxes.baud, m_boxes.parity, m_boxes.dataBits, m_boxes.stopBits));
  if (!settings) return portFailure(settings.error().text);
  if (auto opened = m_device.open(); !opened) return portFailure(opened.error().text);
  m_open = true;
  m_device.setWaitHook([this](std::int64_t sent) {
    if (m_progress) m_progress->bytesSent(sent);
  });
  if (auto configured = m_device.configure(*settings); !configured) m_failure = portFailure(configured.error().text);
  return m_failure ? Result<void>(*m_failure) : Result<void>();
}

Result<void> SerialTransmission::writeHeader(int columnCount, std::int32_t glyphByteCount) {
  const auto width = widthByte(columnCount);
  if (!width) {
    m_failure = portFailure(tooWideReason(columnCount));
    return *m_failure;
  }
  if (m_progress) {
    m_progress->frameStarted(std::int64_t{kFrameOverhead} + glyphByteCount);
    m_frameStarted = true;
  }
  const std::array<std::uint8_t, kHeaderBytes> header{*width, m_speed, m_mode};
  return write(header);
}

Result<void> SerialTransmission::writeLeadIn() { return writeZeros(kLeadInBytes); }

Result<void> SerialTransmission::writeGlyphByte(std::uint8_t value) { return write({&value, 1}); }

Result<void> SerialTransmission::writeTail() { return writeZeros(kTailBytes); }

Result<void> SerialTransmission::writeZeros(int count) {
  static constexpr std::array<std::uint8_t, kTailBytes> kZeros{};
  return write(std::span(kZeros).first(static_cast<std::size_t>(count)));
}

Result<void> SerialTransmission::write(std::span<const std::uint8_t> bytes) {
  if (m_failure) return *m_failure;
  if (auto written = m_device.write(bytes); !written) {
    m_failure = portFailure(written.error().text);
    return *m_failure;
  }
  return {};
}

Result<void> SerialTransmission::close() {
  Result<void> closed;
  if (m_open) {
    m_open = false;
    if (m_failure) {
      m_device.abandon();
    } else if (auto shut = m_device.close(); !shut) {
      closed = portFailure(shut.error().text);
    }
    m_device.setWaitHook({});
  }
  if (m_frameStarted) {
    m_frameStarted = false;
    m_progress->frameEnded();
  }
  return closed;
}

std::string SerialTransmission::sentConfirmation(std::int32_t glyphByteCount) {
  return utf16ToUtf8(u"使用串口" + m_boxes.port + u"共发送" + amountText(glyphByteCount, m_decimalSeparator) +
                     u"K数据发送成功");
}

Failure SerialTransmission::portFailure(std::string deviceReason) const {
  // A file standing in for the port is named itself: no port was involved.
  if (const std::string file = m_device.fileName(); !file.empty()) {
    return Failure("cannot write " + file, std::move(deviceReason));
  }
  return Failure(utf16ToUtf8(u"串口" + m_boxes.port + u"打开失败，可能正在使用中"), std::move(deviceReason));
}

}  // namespace lumadot
