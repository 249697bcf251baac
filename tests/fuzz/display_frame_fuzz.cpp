// The speed and mode boxes, the width byte, the amount in the confirmation,
// and a whole frame encoded and sent from any boxes, width and glyph bytes:
// 545 + N bytes with the boxes' values in its header, which the sign reads
// back as they were sent, or a failure that says why.

#include <string>

#include "fuzz/fuzz_input.h"
#include "support/memory_device.h"
#include "frame/display_frame.h"
#include "frame/frame_decoder.h"
#include "serial/send_request.h"
#include "serial/sending.h"

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

// What the sign makes of a frame is what was encoded.
void checkDecoded(const std::vector<std::uint8_t>& frame, const FrameFields& fields, std::size_t glyphCount) {
  if (fields.width == 0) return;  // a zero width byte starts no frame: never one of ours
  const auto decoded = decodeFrames(frame);
  FUZZ_EXPECT(!decoded.empty());
  FUZZ_EXPECT(decoded[0].width() == fields.width && decoded[0].speed() == fields.speed &&
              decoded[0].mode() == fields.mode);
  const std::size_t display = displayBytesFor(fields.width);
  if (display >= glyphCount) FUZZ_EXPECT(decoded.size() == 1 && decoded[0].complete());
}

}  // namespace

void fuzzInput(FuzzedDataProvider& in) {
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

  const auto glyphs = patternBytes(in, in.ConsumeIntegralInRange<std::size_t>(0, 65536));
  const auto request = sendRequest(boxes);
  const auto fields = frameFields(columns, request ? request->speed : 5, request ? request->mode : 0);
  FUZZ_EXPECT(fields.has_value() == widthByte(columns).has_value());
  if (!request || !fields) {
    FUZZ_EXPECT(!(request ? fields.error() : request.error()).text.empty());
    return;
  }
  const std::vector<std::uint8_t> frame = encodeFrame(*fields, glyphs);
  FUZZ_EXPECT(frame.size() == kFrameOverhead + glyphs.size());
  FUZZ_EXPECT(frame[0] == widthByte(columns) && frame[1] == speedByte(boxes.speed) && frame[2] == modeByte(boxes.mode));
  FUZZ_EXPECT(std::equal(glyphs.begin(), glyphs.end(), frame.begin() + kFrameHeadBytes));
  checkDecoded(frame, *fields, glyphs.size());

  test::MemoryDevice device(in.ConsumeBool() ? in.ConsumeIntegralInRange<std::size_t>(0, 2000) : SIZE_MAX);
  if (!openLine(device, request->port, request->line)) return;
  const SendReport sent = send(device, frame);
  FUZZ_EXPECT(sent.sent == device.sent.size() && (sent.result.has_value() == (sent.sent == frame.size())));
  FUZZ_EXPECT(std::equal(device.sent.begin(), device.sent.end(), frame.begin()));
}

}  // namespace lumadot::fuzz
