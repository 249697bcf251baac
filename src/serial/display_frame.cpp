#include "serial/display_frame.h"

#include <array>
#include <charconv>

namespace lumadot {
namespace {

constexpr std::array<std::u16string_view, 6> kModes{u"静止", u"左移", u"右移", u"上移", u"下移", u"闪烁"};

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
