#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumadot {

// Frame: width, speed, mode, 253 zero bytes, the glyph bytes, 289 zero bytes.
inline constexpr int kHeaderBytes = 3;
inline constexpr int kLeadInBytes = 253;
inline constexpr int kTailBytes = 289;
inline constexpr int kFrameOverhead = kHeaderBytes + kLeadInBytes + kTailBytes;  // 545

// (columnCount + 1) / 2 + 8 rounded half to even, so 2, 3 and 4 columns all
// give 10 and 6 give 12; nothing past kWidestFrame columns, which overflow a byte.
std::optional<std::uint8_t> widthByte(int columnCount);
inline constexpr int kWidestFrame = 493;  // 246 Chinese characters and one single-byte one

// "1" to "10"; "静止", "左移", "右移", "上移", "下移", "闪烁". Whole-text matches.
std::optional<std::uint8_t> speedByte(std::u16string_view text);
std::optional<std::uint8_t> modeByte(std::u16string_view text);
// The mode box's text for a mode byte; nothing past 5.
std::optional<std::u16string_view> modeName(std::uint8_t mode);

// glyphByteCount / 1024 as a plain number with the given decimal separator,
// cut to four characters: 16 bytes give "0.01", 1536 give "1.5".
std::u16string amountText(std::int32_t glyphByteCount, std::u16string_view decimalSeparator);

}  // namespace lumadot
