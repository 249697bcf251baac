#include "fonts/glyph_placement.h"

#include <algorithm>
#include <cstdlib>

namespace lumadot {
namespace {

constexpr int kCellHeight = 16;

int floorHalf(int n) { return n >= 0 ? n / 2 : -((1 - n) / 2); }

// Where `length` dots starting naturally at `start` go in `size` dots.
int fitStart(int start, int length, int size, bool& clipped) {
  if (length > size) {
    clipped = true;
    return (size - length) / 2;  // the middle `size` dots
  }
  return std::clamp(start, 0, size - length);
}

}  // namespace

int chooseBaseline(std::span<const std::optional<SourceGlyph>> glyphs, int preferred) {
  // Each glyph fits on a run of rows; summed up to row b, starts counts the
  // glyphs whose run holds b.
  std::array<int, kCellHeight + 2> starts{};
  for (const auto& glyph : glyphs) {
    if (!glyph || glyph->height == 0 || glyph->height > kCellHeight) continue;
    const SourceGlyph& g = *glyph;
    const int first = std::max(g.top, 0), last = std::min(g.top + kCellHeight - g.height, kCellHeight);
    if (first > last) continue;
    ++starts[static_cast<std::size_t>(first)];
    --starts[static_cast<std::size_t>(last + 1)];
  }
  int best = std::clamp(preferred, 0, kCellHeight), bestFits = -1, fits = 0;
  for (int b = 0; b <= kCellHeight; ++b) {
    fits += starts[static_cast<std::size_t>(b)];
    const bool nearer = std::abs(b - preferred) < std::abs(best - preferred);
    if (fits > bestFits || (fits == bestFits && nearer)) best = b, bestFits = fits;
  }
  return best;
}

PlacedGlyph placeGlyph(const SourceGlyph& glyph, int cellWidth, int baseline) {
  PlacedGlyph placed;
  placed.picture.width = cellWidth;
  const int x = fitStart(floorHalf(cellWidth - glyph.advance) + glyph.left, glyph.width, cellWidth, placed.clipped);
  const int y = fitStart(baseline - glyph.top, glyph.height, kCellHeight, placed.clipped);
  const std::uint64_t cellMask = ~(~std::uint64_t{0} >> cellWidth);
  for (int r = std::max(0, -y); r < glyph.height && y + r < kCellHeight; ++r) {
    // Shift the ink row so its first dot lands in column x of the cell's row.
    const std::uint64_t ink = std::uint64_t{glyph.rows[static_cast<std::size_t>(r)]} << 32;
    const std::uint64_t shifted = x >= 0 ? ink >> x : ink << -x;
    placed.picture.rows[static_cast<std::size_t>(y + r)] = shifted & cellMask;
  }
  return placed;
}

}  // namespace lumadot
