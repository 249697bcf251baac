#pragma once

// Pictures read from PNG, BMP, GIF and JPEG files, as the dots they become.
// The decoders are the ones every distribution maintains and patches
// (libpng, libjpeg-turbo, giflib) and a small BMP reader of our own; each
// failure is one Failure naming the file. Qt-free.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"

namespace lumadot {

// Each side at most 65,535 pixels and at most 64 Mi pixels in all, checked
// before any pixel is allocated, so a header cannot ask for gigabytes.
inline constexpr int kMaxPictureSide = 65535;
inline constexpr std::uint64_t kMaxPicturePixels = std::uint64_t{64} << 20;

enum class PictureType : std::uint8_t { png, bmp, gif, jpeg };

// The type the first bytes announce; the file's name plays no part.
std::optional<PictureType> pictureType(std::span<const std::uint8_t> bytes);

// A picture as decoded: 4 bytes a pixel (red, green, blue, alpha), rows top to bottom.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;

  friend bool operator==(const RgbaPicture&, const RgbaPicture&) = default;
};

// One byte a pixel, 0 black to 255 white, rows top to bottom.
struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> grey;

  std::uint8_t at(int x, int y) const {
    return grey[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
  friend bool operator==(const GreyPicture&, const GreyPicture&) = default;
};

// The picture in `bytes` (a GIF's first frame), `name` naming it in a
// failure: "NAME: not a PNG, BMP, GIF or JPEG picture", "NAME: the PNG is
// damaged (...)", "NAME: the GIF is truncated", "NAME: the picture is too large (...)".
Result<RgbaPicture> decodePicture(std::span<const std::uint8_t> bytes, const std::string& name);

// Its grey, composited over white: a transparent pixel counts as white.
GreyPicture greyOf(const RgbaPicture& picture);

// decodePicture, then greyOf.
Result<GreyPicture> readPicture(std::span<const std::uint8_t> bytes, const std::string& name);

}  // namespace lumadot
