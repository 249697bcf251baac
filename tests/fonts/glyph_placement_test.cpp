#include "fonts/glyph_placement.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

namespace lumadot {
namespace {

// Ink of `width` x `height` lit everywhere but a margin of `marginX` columns
// and `marginY` rows, so a cell shows exactly which dots of it were kept.
SourceGlyph ink(int advance, int left, int top, int width, int height, int marginX = 0, int marginY = 0) {
  return SourceGlyph::fromBitmap(advance, left, top, width, height, [&](int x, int y) {
    return x >= marginX && x < width - marginX && y >= marginY && y < height - marginY;
  });
}

GlyphPicture rectangle(int cellWidth, int x, int y, int w, int h) {
  GlyphPicture picture;
  picture.width = cellWidth;
  for (int r = y; r < y + h; ++r) {
    picture.rows[static_cast<std::size_t>(r)] = std::uint64_t{((1U << w) - 1) << (16 - x - w)} << 48;
  }
  return picture;
}

TEST(GlyphPlacementTest, InkSitsOnTheBaselineInItsCentredAdvanceBox) {
  const struct {
    const char* name;
    SourceGlyph glyph;
    int cellWidth;
    int x, y, w, h;  // where the lit dots land
    bool clipped;
    int baseline = 14;
  } cases[] = {
      {"full width fills its cell", ink(16, 0, 14, 16, 16), 16, 0, 0, 16, 16, false},
      {"half width sits in the middle", ink(8, 1, 10, 6, 10), 16, 5, 4, 6, 10, false},
      {"half width in an 8-dot cell", ink(8, 1, 10, 6, 10), 8, 1, 4, 6, 10, false},
      {"an odd advance leaves the spare dot right", ink(9, 0, 10, 9, 10), 16, 3, 4, 9, 10, false},
      {"on another baseline", ink(16, 0, 10, 16, 10), 16, 0, 2, 16, 10, false, 12},
      {"sticking out right moves left", ink(16, 4, 14, 14, 15), 16, 2, 0, 14, 15, false},
      {"sticking out left moves right", ink(16, -2, 14, 10, 15), 16, 0, 0, 10, 15, false},
      {"sticking out above moves down", ink(16, 2, 16, 12, 16), 16, 2, 0, 12, 16, false},
      {"sticking out below moves up", ink(16, 0, 2, 16, 8), 16, 0, 8, 16, 8, false},
      {"wider than the cell keeps its middle", ink(16, 1, 14, 14, 4, 3), 8, 0, 0, 8, 4, true},
      {"taller than the cell keeps its middle", ink(16, 0, 16, 16, 20, 0, 2), 16, 0, 0, 16, 16, true},
      {"past the reader's limit keeps the same middle", ink(40, 0, 14, 40, 16, 12), 16, 0, 0, 16, 16, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PlacedGlyph placed = placeGlyph(c.glyph, c.cellWidth, c.baseline);
    EXPECT_EQ(placed.picture, rectangle(c.cellWidth, c.x, c.y, c.w, c.h));
    EXPECT_EQ(placed.clipped, c.clipped);
  }
}

TEST(GlyphPlacementTest, BaselineIsTheRowMostGlyphsFitOn) {
  const struct {
    const char* name;
    std::vector<std::pair<int, int>> glyphs;  // top, height
    int preferred, baseline;
  } cases[] = {
      {"full-height glyphs fit on one row only", {{14, 16}, {14, 16}}, 10, 14},
      {"the few that stick out do not move it", {{14, 16}, {14, 16}, {15, 16}}, 10, 14},
      {"a tie goes to the face's ascent", {{10, 10}, {10, 10}}, 13, 13},
      {"nearest the ascent when it lies outside the tie", {{10, 10}}, 20, 16},
      {"ink taller than the cell fits nowhere", {{20, 20}, {12, 12}}, 14, 14},
      {"no ink at all", {}, 12, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::optional<SourceGlyph>> glyphs{std::nullopt};
    for (const auto& [top, height] : c.glyphs) glyphs.push_back(ink(16, 0, top, 16, height));
    EXPECT_EQ(chooseBaseline(glyphs, c.preferred), c.baseline);
  }
}

}  // namespace
}  // namespace lumadot
