#pragma once

// The display frame (docs/frame.md):
//   width, speed, mode | 253 zero bytes (lead-in) | the glyph bytes | 289 zero bytes (tail)
// Its numbers are frame_layout.h's, which the sign's firmware is built from too.
// Our sender writes it with encodeFrame; the sign reads it with FrameDecoder
// (frame_decoder.h) from these same constants.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "frame/frame_layout.h"

namespace lumadot {

inline constexpr int kHeaderBytes = FRAME_HEADER_BYTES;
inline constexpr int kLeadInBytes = FRAME_LEAD_IN_BYTES;
inline constexpr int kTailBytes = FRAME_TAIL_BYTES;
inline constexpr int kFrameOverhead = kHeaderBytes + kLeadInBytes + kTailBytes;  // 545
// Where the glyph bytes start: the sign reads them as display bytes from here.
inline constexpr std::size_t kFrameHeadBytes = FRAME_HEAD_BYTES;  // 256

inline constexpr int kNarrowestFrame = FRAME_NARROWEST;  // width byte of a frame with no display bytes
inline constexpr int kDisplayBytesPerWidth = FRAME_DISPLAY_BYTES_PER_WIDTH;  // 32
// The sender's tail less the up to 32 bytes a rounded-up width reads as display bytes.
inline constexpr std::size_t kShortestTail = kTailBytes - kDisplayBytesPerWidth;  // 257
inline constexpr int kSlowestSpeed = EFFECT_SLOWEST_SPEED;
inline constexpr int kFastestSpeed = EFFECT_FASTEST_SPEED;
inline constexpr int kLastMode = EFFECT_FLASH;  // modes 0 to 5 are the effects

// (columnCount + 1) / 2 + 8 rounded half to even, so 2, 3 and 4 columns all
// give 10 and 6 give 12; nothing past kWidestFrame columns, which overflow a byte.
std::optional<std::uint8_t> widthByte(int columnCount);
inline constexpr int kWidestFrame = 493;  // 246 Chinese characters and one single-byte one

// "1" to "10"; "静止", "左移", "右移", "上移", "下移", "闪烁". Whole-text matches.
std::optional<std::uint8_t> speedByte(std::u16string_view text);
std::optional<std::uint8_t> modeByte(std::u16string_view text);
// The mode box's text for a mode byte; nothing past 5.
std::optional<std::u16string_view> modeName(std::uint8_t mode);

// The three header bytes.
struct FrameFields {
  std::uint8_t width = kNarrowestFrame;
  std::uint8_t speed = 5;
  std::uint8_t mode = 0;

  friend bool operator==(const FrameFields&, const FrameFields&) = default;
};

// The fields of a frame for a text `columnCount` columns wide; a text wider
// than any frame fails, the reason saying by how much.
Result<FrameFields> frameFields(int columnCount, std::uint8_t speed, std::uint8_t mode);

// The whole frame: header, lead-in, `glyphBytes`, tail.
std::vector<std::uint8_t> encodeFrame(const FrameFields& fields, std::span<const std::uint8_t> glyphBytes);

}  // namespace lumadot
