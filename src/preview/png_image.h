#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "base/result.h"
#include "preview/dot_picture.h"

namespace lumadot {

struct PngColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  friend bool operator==(const PngColour&, const PngColour&) = default;
};

inline constexpr PngColour kLitDotColour{0xFF, 0x30, 0x20};
inline constexpr PngColour kDarkDotColour{0x38, 0x10, 0x10};
inline constexpr PngColour kDotGapColour{0x00, 0x00, 0x00};
inline constexpr PngColour kSeamColour{0x60, 0x60, 0x60};  // where two modules of a chain meet

inline constexpr int kMinPngScale = 1;
inline constexpr int kMaxPngScale = 32;
inline constexpr int kDefaultPngScale = 4;

// The bytes of a PNG file of the picture, each dot a square of `scale` pixels
// (clamped to kMinPngScale..kMaxPngScale), written by libpng: lit dots kLitDotColour, dark dots
// kDarkDotColour, and from scale 3 on the last row and column of each square
// kDotGapColour, so the dots stand apart like LEDs; there, the gap left of
// each column in `seams` is a line of kSeamColour, as a chain of modules
// shows where one meets the next. An empty picture gives ""
// (PNG has no zero-width image). Fails only when libpng does (out of memory).
Result<std::string> pngImage(const DotPicture& picture, int scale, std::span<const int> seams = {});

}  // namespace lumadot
