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

bool showsSeams(std::span<const int> seams, int width, std::size_t dotSize) {
  return dotGap(dotSize) != 0 && std::any_of(seams.begin(), seams.end(), [width](int s) { return s > 0 && s < width; });
}

void markSeams(std::span<const int> seams, int width, int first, int count, std::size_t dotSize, std::uint8_t* out) {
  if (dotGap(dotSize) == 0) return;
  for (const int seam : seams) {
    if (seam > 0 && seam < width && seam > first && seam <= first + count) {
      out[static_cast<std::size_t>(seam - first) * dotSize - 1] = kSeamPixel;
    }
  }
}

}  // namespace lumadot
