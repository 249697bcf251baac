// The speed and mode boxes, the width byte, the amount in the confirmation,
// and a whole frame written through the transmission from any boxes, width
// and glyph bytes: 545 + N bytes with the boxes' values in its header, or a
// failure that says why.

#include <string>

#include "fuzz/fuzz_input.h"
#include "support/memory_device.h"
#include "serial/display_frame.h"
#include "serial/serial_transmission.h"

namespace lumadot::fuzz {
namespace {

void checkBoxes(const std::u16string& text) {
  if (const auto speed = speedByte(text)) {
    FUZZ_EXPECT(*speed >= 1 && *speed <= 10);
    const std::string digits = std::to_string(*speed);
    FUZZ_EXPECT(text == std::u16string(digits.begin(), digits.end()));
  }
  if (const auto mode = modeByte(text)) FUZZ_EXPECT(*mode <= 5);
}

void checkWidth(int columns) {
  const auto width = widthByte(columns);
  FUZZ_EXPECT(width.has_value() == (columns >= 0 && columns <= kWidestFrame));
  if (width && columns < kWidestFrame) FUZZ_EXPECT(*width >= 8 && *width <= *widthByte(columns + 1));
}

// Every step the run takes, stopping at the first failure, which must say why.
bool sendFrame(SerialTransmission& transmission, int columns, const std::vector<std::uint8_t>& glyphs) {
  const auto ok = [](const Result<void>& step) {
    if (!step) FUZZ_EXPECT(!step.error().text.empty());
    return static_cast<bool>(step);
  };
  if (!ok(transmission.selectPort()) || !ok(transmission.open()) ||
      !ok(transmission.writeHeader(columns, static_cast<std::int32_t>(glyphs.size()))) ||
      !ok(transmission.writeLeadIn())) {
    return false;
  }
  for (const std::uint8_t b : glyphs) {
    if (!ok(transmission.writeGlyphByte(b))) return false;
  }
  return ok(transmission.writeTail()) && ok(transmission.close());
}

}  // namespace
}  // namespace lumadot::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumadot;
  using namespace lumadot::fuzz;
  FuzzedDataProvider in(data, size);
  SendBoxes boxes;
  boxes.speed = utf8ToUtf16(in.ConsumeRandomLengthString(8));
  boxes.mode = utf8ToUtf16(in.ConsumeRandomLengthString(8));
  if (in.ConsumeBool()) boxes.port = utf8ToUtf16(in.ConsumeRandomLengthString(8));
  checkBoxes(boxes.speed);
  checkBoxes(boxes.mode);
  const int columns = in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, kWidestFrame + 2) : in.ConsumeIntegral<int>();
  checkWidth(columns);
  const auto amount = amountText(in.ConsumeIntegral<std::int32_t>(), utf8ToUtf16(in.ConsumeRandomLengthString(4)));
  FUZZ_EXPECT(amount.size() <= 4);

  test::MemoryDevice device(in.ConsumeBool() ? in.ConsumeIntegralInRange<std::size_t>(0, 2000) : SIZE_MAX);
  SerialTransmission transmission(device, boxes);
  const auto glyphs = patternBytes(in, in.ConsumeIntegralInRange<std::size_t>(0, GlyphBuffer::kCapacity));
  if (!sendFrame(transmission, columns, glyphs)) return 0;
  const std::vector<std::uint8_t>& frame = device.sent;
  FUZZ_EXPECT(frame.size() == kFrameOverhead + glyphs.size());
  FUZZ_EXPECT(frame[0] == widthByte(columns) && frame[1] == speedByte(boxes.speed) && frame[2] == modeByte(boxes.mode));
  FUZZ_EXPECT(std::equal(glyphs.begin(), glyphs.end(), frame.begin() + kHeaderBytes + kLeadInBytes));
  return 0;
}
