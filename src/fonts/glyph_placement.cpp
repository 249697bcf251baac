#include "fonts/glyph_placement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lumadot {
namespace {

// Hinting rounds a smaller size's ink up now and then; a few sizes down always fits.
constexpr int kRedraws = 4;

int floorHalf(int n) { return n >= 0 ? n / 2 : -((1 - n) / 2); }

bool fits(const SourceGlyph& glyph, Dots cell) { return glyph.width <= cell.width && glyph.height <= cell.height; }

// The factor across and down that makes `glyph` just fit `cell`.
double fitFactor(const SourceGlyph& glyph, Dots cell) {
  return std::min(static_cast<double>(cell.width) / std::max(glyph.width, 1),
                  static_cast<double>(cell.height) / std::max(glyph.height, 1));
}

// `glyph` as big as `cell` allows, the same factor across and down. A dot of
// the smaller ink is lit when any dot it stands for is, so no stroke is lost.
SourceGlyph shrunk(const SourceGlyph& glyph, Dots cell) {
  // The side that has to shrink the most sets the factor, num / den.
  const bool byWidth = std::int64_t{cell.width} * glyph.height <= std::int64_t{cell.height} * glyph.width;
  const int num = byWidth ? cell.width : cell.height;
  const int den = byWidth ? glyph.width : glyph.height;
  const auto metric = [&](int n) { return static_cast<int>(std::lround(static_cast<double>(n) * num / den)); };
  const auto side = [&](int n) { return n == 0 ? 0 : std::max(1, n * num / den); };
  SourceGlyph small = SourceGlyph::blank(metric(glyph.advance), metric(glyph.left), metric(glyph.top),
                                         side(glyph.width), side(glyph.height));
  for (int y = 0; y < glyph.height; ++y) {
    for (int x = 0; x < glyph.width; ++x) {
      if (glyph.lit(x, y)) small.light(x * small.width / glyph.width, y * small.height / glyph.height);
    }
  }
  return small;
}

}  // namespace

SourceGlyph SourceGlyph::blank(int advance, int left, int top, int width, int height) {
  SourceGlyph glyph;
  glyph.advance = advance;
  glyph.left = left;
  glyph.top = top;
  glyph.width = width;
  glyph.height = height;
  glyph.bits.assign(static_cast<std::size_t>(glyph.words() * height), 0);
  return glyph;
}

int chooseBaseline(std::span<const std::optional<SourceGlyph>> glyphs, int preferred, int cellHeight) {
  // Each glyph fits on a run of rows; summed up to row b, starts counts the
  // glyphs whose run holds b.
  std::vector<int> starts(static_cast<std::size_t>(cellHeight) + 2);
  for (const auto& glyph : glyphs) {
    if (!glyph || glyph->height == 0 || glyph->height > cellHeight) continue;
    const SourceGlyph& g = *glyph;
    const int first = std::max(g.top, 0), last = std::min(g.top + cellHeight - g.height, cellHeight);
    if (first > last) continue;
    ++starts[static_cast<std::size_t>(first)];
    --starts[static_cast<std::size_t>(last + 1)];
  }
  int best = std::clamp(preferred, 0, cellHeight), bestFits = -1, fitting = 0;
  for (int b = 0; b <= cellHeight; ++b) {
    fitting += starts[static_cast<std::size_t>(b)];
    const bool nearer = std::abs(b - preferred) < std::abs(best - preferred);
    if (fitting > bestFits || (fitting == bestFits && nearer)) best = b, bestFits = fitting;
  }
  return best;
}

PlacedGlyph placeGlyph(const SourceGlyph& glyph, Dots cell, int baseline) {
  if (!fits(glyph, cell)) {
    PlacedGlyph placed = placeGlyph(shrunk(glyph, cell), cell, baseline);
    placed.scaled = true;
    return placed;
  }
  PlacedGlyph placed{GlyphPicture(cell)};
  if (glyph.width == 0) return placed;
  // Ink that fits has one word a row, and lands wholly inside the cell.
  const int x = std::clamp(floorHalf(cell.width - glyph.advance) + glyph.left, 0, cell.width - glyph.width);
  const int y = std::clamp(baseline - glyph.top, 0, cell.height - glyph.height);
  for (int r = 0; r < glyph.height; ++r) {
    placed.picture.rows[static_cast<std::size_t>(y + r)] = glyph.bits[static_cast<std::size_t>(r)] >> x;
  }
  return placed;
}

PlacedGlyph fitGlyph(const GlyphFace& face, char32_t character, const SourceGlyph& glyph, Dots cell, int baseline) {
  if (!face.redraws || fits(glyph, cell)) return placeGlyph(glyph, cell, baseline);
  std::optional<SourceGlyph> smaller;
  const SourceGlyph* best = &glyph;
  for (int tries = 0, pixels = face.pixels; tries < kRedraws && !fits(*best, cell); ++tries) {
    pixels = std::min(pixels - 1, static_cast<int>(pixels * fitFactor(*best, cell)));
    auto again = pixels >= 1 ? face.draw(character, pixels) : std::nullopt;
    if (!again) break;
    smaller = std::move(again);
    best = &*smaller;
  }
  PlacedGlyph placed = placeGlyph(*best, cell, baseline);
  placed.scaled = true;
  return placed;
}

}  // namespace lumadot
