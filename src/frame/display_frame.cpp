#include "frame/display_frame.h"

#include <array>
#include <algorithm>
#include <string>

namespace lumadot {
namespace {

constexpr std::array<std::u16string_view, kLastMode + 1> kModes{u"静止", u"左移", u"右移", u"上移", u"下移", u"闪烁"};

}  // namespace

std::optional<std::uint8_t> widthByte(int columnCount) {
  if (columnCount < 0) return std::nullopt;
  // Counted in halves the value is columnCount + 17; ties go to the even neighbour.
  const std::int64_t halves = std::int64_t{columnCount} + 17;
  std::int64_t width = halves / 2;
  if (halves % 2 != 0 && width % 2 != 0) ++width;
  if (width > 255) return std::nullopt;
  return static_cast<std::uint8_t>(width);
}

std::optional<std::uint8_t> speedByte(std::u16string_view text) {
  static constexpr std::array<std::u16string_view, 10> kSpeeds{u"1", u"2", u"3", u"4", u"5",
                                                               u"6", u"7", u"8", u"9", u"10"};
  for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
    if (text == kSpeeds[i]) return static_cast<std::uint8_t>(i + 1);
  }
  return std::nullopt;
}

std::optional<std::uint8_t> modeByte(std::u16string_view text) {
  for (std::size_t i = 0; i < kModes.size(); ++i) {
    if (text == kModes[i]) return static_cast<std::uint8_t>(i);
  }
  return std::nullopt;
}

std::optional<std::u16string_view> modeName(std::uint8_t mode) {
  if (mode >= kModes.size()) return std::nullopt;
  return kModes[mode];
}

Result<FrameFields> frameFields(int columnCount, std::uint8_t speed, std::uint8_t mode) {
  const auto width = widthByte(columnCount);
  if (!width) {
    return Failure("the text is " + std::to_string(columnCount) + " columns wide, and a frame holds at most " +
                   std::to_string(kWidestFrame) + " (" + std::to_string(kWidestFrame / 2) +
                   " Chinese characters and one single-byte one)")
        .because({CauseKind::frameTooWide, {}, {columnCount, kWidestFrame}});
  }
  return FrameFields{*width, speed, mode};
}

std::vector<std::uint8_t> encodeFrame(const FrameFields& fields, std::span<const std::uint8_t> glyphBytes) {
  std::vector<std::uint8_t> frame(kFrameOverhead + glyphBytes.size(), 0);
  frame[FRAME_WIDTH_AT] = fields.width;
  frame[FRAME_SPEED_AT] = fields.speed;
  frame[FRAME_MODE_AT] = fields.mode;
  std::copy(glyphBytes.begin(), glyphBytes.end(), frame.begin() + kFrameHeadBytes);
  return frame;
}

}  // namespace lumadot
