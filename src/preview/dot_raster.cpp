#include "preview/dot_raster.h"

#include <algorithm>

namespace lumadot {

std::size_t dotGap(std::size_t dotSize) {
  constexpr std::size_t kMinScaleWithGaps = 3;  // below this a gap would leave too little of each dot
  return dotSize >= kMinScaleWithGaps ? 1 : 0;
}

void rasterDotRow(const DotPicture& picture, int y, int first, int count, std::size_t dotSize, std::uint8_t* out) {
  const std::size_t gap = dotGap(dotSize);
  for (int x = first; x < first + count; ++x) {
    out = std::fill_n(out, dotSize - gap, picture.lit(x, y) ? kLitPixel : kDarkPixel);
    out = std::fill_n(out, gap, kGapPixel);
  }
}

}  // namespace lumadot
