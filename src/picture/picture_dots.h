#pragma once

// A grey picture as dots: scaled by area averaging (on the grey, before any
// dot is decided), then each pixel darker than the threshold a lit dot, as
// a glyph is drawn black on white; optionally Floyd-Steinberg dithered, or
// inverted for a picture drawn light on dark.

#include <cstdint>
#include <optional>
#include <vector>

#include "base/result.h"
#include "picture/picture.h"

namespace lumadot {

struct DotScale {
  std::optional<int> height;  // this many rows, the width keeping the aspect ratio
  std::optional<int> width;   // with height: exactly width x height
};

struct DotOptions {
  static constexpr int kDefaultThreshold = 128;

  int threshold = kDefaultThreshold;  // 0 to 255; a pixel below it is lit, so 0 lights nothing
  bool dither = false;
  bool invert = false;  // the light pixels are the lit dots
  DotScale scale;
};

// One bool a dot, rows top to bottom.
struct DotGrid {
  int width = 0;
  int height = 0;
  std::vector<bool> lit;

  bool at(int x, int y) const {
    return lit[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
  }
  friend bool operator==(const DotGrid&, const DotGrid&) = default;
};

// The picture averaged over areas to width x height pixels (each at least 1).
GreyPicture scaledPicture(const GreyPicture& picture, int width, int height);

// The size `scale` asks of a picture of width x height; the width never drops below 1.
std::pair<int, int> scaledSize(const DotScale& scale, int width, int height);

// The picture's dots as `options` ask.
DotGrid pictureDots(const GreyPicture& picture, const DotOptions& options);

}  // namespace lumadot
