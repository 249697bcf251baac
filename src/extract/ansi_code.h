#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lumadot {

inline constexpr std::int16_t kCarriageReturnCode = 13;
inline constexpr std::int16_t kQuestionMarkCode = 63;

// A character's code in code page 936 (GBK) read as a signed 16-bit number:
// 0 to 255 for a single-byte character, lead * 256 + trail - 65536 (negative)
// for a double-byte one. A character the code page cannot represent comes back
// as "?", just as the Windows conversion substitutes its default character.
std::int16_t ansiCode(char32_t ch);

inline constexpr std::uint8_t leadByte(std::int16_t code) {
  return static_cast<std::uint8_t>(static_cast<std::uint16_t>(code) >> 8);
}
inline constexpr std::uint8_t trailByte(std::int16_t code) {
  return static_cast<std::uint8_t>(static_cast<std::uint16_t>(code) & 0xFFu);
}

// The character that one or two code page 936 bytes stand for, if any.
std::optional<char32_t> fromAnsiBytes(std::string_view bytes);

}  // namespace lumadot
