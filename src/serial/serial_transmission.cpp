#include "serial/serial_transmission.h"

#include <array>
#include <utility>

#include "serial/display_frame.h"
#include "serial/port_names.h"

namespace lumadot {
namespace {

Message boxWarning(std::u16string_view boxName, std::u16string_view text) {
  return {std::u16string(kWarningTitle), std::u16string(boxName) + u"“" + std::u16string(text) + u"”无效",
          kStyleWarning};
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
  m_failed = true;
  close();
}

// A text that names no port sends nothing: sending to whichever port was
// chosen before, under the typed name, would mislead.
bool SerialTransmission::selectPort() {
  const auto number = portNumber(m_boxes.port);
  if (number) m_device.setPort(*number);
  return number.has_value();
}

// A speed or mode the sign has no byte for would shift the frame and make the
// sign misread it, so it stops the send before the port is touched.
bool SerialTransmission::open() {
  const auto speed = speedByte(m_boxes.speed);
  if (!speed) {
    m_boxWarning = boxWarning(u"显示速度", m_boxes.speed);
    return false;
  }
  const auto mode = modeByte(m_boxes.mode);
  if (!mode) {
    m_boxWarning = boxWarning(u"显示方式", m_boxes.mode);
    return false;
  }
  m_speed = *speed;
  m_mode = *mode;

  const auto settings =
      parseLineSettings(settingsText(m_boxes.baud, m_boxes.parity, m_boxes.dataBits, m_boxes.stopBits));
  if (!settings || !m_device.open()) return false;
  m_open = true;
  m_device.setWaitHook([this](std::int64_t sent) {
    if (m_progress) m_progress->bytesSent(sent);
  });
  m_failed = !m_device.configure(*settings);
  return !m_failed;
}

bool SerialTransmission::writeHeader(int columnCount, std::int32_t glyphByteCount) {
  const auto width = widthByte(columnCount);
  if (!width) {
    m_failed = true;
    return false;
  }
  if (m_progress) {
    m_progress->frameStarted(std::int64_t{kFrameOverhead} + glyphByteCount);
    m_frameStarted = true;
  }
  const std::array<std::uint8_t, kHeaderBytes> header{*width, m_speed, m_mode};
  return write(header);
}

bool SerialTransmission::writeLeadIn() { return writeZeros(kLeadInBytes); }

bool SerialTransmission::writeGlyphByte(std::uint8_t value) { return write({&value, 1}); }

bool SerialTransmission::writeTail() { return writeZeros(kTailBytes); }

bool SerialTransmission::writeZeros(int count) {
  static constexpr std::array<std::uint8_t, kTailBytes> kZeros{};
  return write(std::span(kZeros).first(static_cast<std::size_t>(count)));
}

bool SerialTransmission::write(std::span<const std::uint8_t> bytes) {
  if (!m_failed && !m_device.write(bytes)) m_failed = true;
  return !m_failed;
}

bool SerialTransmission::close() {
  bool closed = true;
  if (m_open) {
    m_open = false;
    if (m_failed) {
      m_device.abandon();
    } else {
      closed = m_device.close();
    }
    m_device.setWaitHook({});
  }
  if (m_frameStarted) {
    m_frameStarted = false;
    m_progress->frameEnded();
  }
  return closed;
}

Message SerialTransmission::successMessage(std::int32_t glyphByteCount) {
  return {u"系统提示",
          u"使用串口" + m_boxes.port + u"共发送" + amountText(glyphByteCount, m_decimalSeparator) + u"K数据发送成功",
          kStyleNoIcon};
}

Message SerialTransmission::failureMessage() {
  if (m_boxWarning) return *m_boxWarning;
  return {std::u16string(kWarningTitle), u"串口" + m_boxes.port + u"打开失败，可能正在使用中", kStyleWarning};
}

}  // namespace lumadot
