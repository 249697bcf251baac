#pragma once

// Sending a run to the sign. SerialTransmission is the run's Transmission:
// it checks the speed, mode and line-settings boxes before the port is
// touched (display_frame, line_settings), maps comN to a device
// (port_names, and port_mapping for the real port), writes the display
// frame through a SerialDevice (QtSerialDevice, or FrameFile for a file),
// and says what went wrong in the window's words, with the device's own
// reason beneath.


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

  Result<void> selectPort() override;
  Result<void> open() override;
  Result<void> writeHeader(int columnCount, std::int32_t glyphByteCount) override;
  Result<void> writeLeadIn() override;
  Result<void> writeGlyphByte(std::uint8_t value) override;
  Result<void> writeTail() override;
  Result<void> close() override;
  std::string sentConfirmation(std::int32_t glyphByteCount) override;

 private:
  Result<void> writeZeros(int count);
  Result<void> write(std::span<const std::uint8_t> bytes);
  // The warning for a port that fails, with the device's own reason beneath it.
  Failure portFailure(std::string deviceReason = {}) const;

  SerialDevice& m_device;
  SendBoxes m_boxes;
  std::u16string m_decimalSeparator;
  SendProgress* m_progress;
  std::uint8_t m_speed = 0;
  std::uint8_t m_mode = 0;
  bool m_open = false;
  std::optional<Failure> m_failure;  // the frame is broken: later writes fail with it, closing drops the rest
  bool m_frameStarted = false;
};

}  // namespace lumadot
