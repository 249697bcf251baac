#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "extract/extraction_run.h"
#include "serial/serial_device.h"

namespace lumadot {

// The seven parameter boxes as typed; the defaults are their start texts.
struct SendBoxes {
  std::u16string port = u"com1";
  std::u16string baud = u"9600";
  std::u16string parity = u"E";
  std::u16string dataBits = u"8";
  std::u16string stopBits = u"1";
  std::u16string speed = u"5";
  std::u16string mode = u"静止";
};

// Follows a frame on its way out, for a progress display.
class SendProgress {
 public:
  virtual ~SendProgress() = default;
  virtual void frameStarted(std::int64_t frameBytes) = 0;
  virtual void bytesSent(std::int64_t sent) = 0;  // only while the port waits for the line
  virtual void frameEnded() = 0;
};

// One run's display frame, sent through a serial device.
class SerialTransmission final : public Transmission {
 public:
  SerialTransmission(SerialDevice& device, SendBoxes boxes, std::u16string decimalSeparator = u".",
                     SendProgress* progress = nullptr);
  ~SerialTransmission() override;
  SerialTransmission(const SerialTransmission&) = delete;
  SerialTransmission& operator=(const SerialTransmission&) = delete;

  bool selectPort() override;
  bool open() override;
  bool writeHeader(int columnCount, std::int32_t glyphByteCount) override;
  bool writeLeadIn() override;
  bool writeGlyphByte(std::uint8_t value) override;
  bool writeTail() override;
  bool close() override;
  Message successMessage(std::int32_t glyphByteCount) override;
  Message failureMessage() override;

 private:
  bool writeZeros(int count);
  bool write(std::span<const std::uint8_t> bytes);

  SerialDevice& m_device;
  SendBoxes m_boxes;
  std::u16string m_decimalSeparator;
  SendProgress* m_progress;
  std::uint8_t m_speed = 0;
  std::uint8_t m_mode = 0;
  bool m_open = false;
  bool m_failed = false;  // the frame is broken: closing drops the rest
  bool m_frameStarted = false;
  std::optional<Message> m_boxWarning;
};

}  // namespace lumadot
