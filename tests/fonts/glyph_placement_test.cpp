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
    bool scaled;
    int baseline = 14;
    bool cut = false;  // by the reader, before scaling
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
      // Too big: scaled by 8/14 (columns 3-10 land on 1-5, the 4 rows on 2), advance 9 and top 8.
      {"wider than the cell is scaled down", ink(16, 1, 14, 14, 4, 3), 8, 1, 6, 5, 2, true},
      // By 16/20: 12 x 16, rows 2-17 on 1-13, advance 13 and top 13 moved up to row 0.
      {"taller than the cell is scaled down", ink(16, 0, 16, 16, 20, 0, 2), 16, 1, 1, 12, 13, true},
      {"twice as wide as the cell, half the size", ink(32, 0, 16, 32, 16), 16, 0, 6, 16, 8, true},
      {"twice the cell, shrunk to half", ink(16, 0, 8, 16, 8), 8, 0, 10, 8, 4, true},
      // By 16/40: columns 12-27 land on 4-10, the 16 rows on 6; top 6.
      {"a wide glyph keeps every stroke", ink(40, 0, 14, 40, 16, 12), 16, 4, 8, 7, 6, true},
      // The middle 128 columns (36-163) are read, lit 56-71 of them; then by 16/128.
      {"past the reader's limit keeps its middle", ink(200, 0, 14, 200, 16, 92), 16, 7, 12, 2, 2, true, 14, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PlacedGlyph placed = placeGlyph(c.glyph, Dots{c.cellWidth, 16}, c.baseline);
    EXPECT_EQ(placed.picture, rectangle(c.cellWidth, c.x, c.y, c.w, c.h));
    EXPECT_EQ(placed.scaled, c.scaled);
    EXPECT_EQ(c.glyph.cut, c.cut);
  }
}

// Every other column lit, so a glyph drawn again keeps its dark columns
// where scaling its dots would run two lit ones together.
SourceGlyph stripes(int width, int height) {
  return SourceGlyph::fromBitmap(width, 0, height, width, height, [](int x, int) { return x % 2 == 0; });
}

TEST(GlyphPlacementTest, OutlinesTooBigAreDrawnAgainSmaller) {
  const struct {
    const char* name;
    bool redraws;
    int roundsUp;                 // dots the face's hinting adds to its smaller glyphs
    std::vector<int> sizesAsked;  // of the face, after its own 16
    std::uint64_t bottomRow;
  } cases[] = {
      {"drawn at the size that fits", true, 0, {12}, 0xAAAULL << 52},          // #.#.#.#.#.#.
      {"smaller again while it does not", true, 1, {12, 11}, 0xAAAULL << 52},  // #.#.#.#.#.#.
      {"bitmaps have their dots scaled", false, 0, {}, 0xDB6ULL << 52},       // ##.##.##.##.
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<int> asked;
    const GlyphFace face{[&](char32_t, int pixels) {
                           asked.push_back(pixels);
                           return std::optional(stripes(pixels + c.roundsUp, pixels));
                         },
                         16, 14, c.redraws};
    const PlacedGlyph placed = fitGlyph(face, U'W', stripes(16, 16), Dots{12, 16}, 16);
    EXPECT_TRUE(placed.scaled);
    EXPECT_EQ(asked, c.sizesAsked);
    EXPECT_EQ(placed.picture.rows[15], c.bottomRow);
  }
  // One that fits is left as it is.
  const GlyphFace never{[](char32_t, int) -> std::optional<SourceGlyph> { ADD_FAILURE(); return std::nullopt; }, 16, 14,
                        true};
  EXPECT_FALSE(fitGlyph(never, U'i', stripes(12, 16), Dots{12, 16}, 16).scaled);
}

TEST(GlyphPlacementTest, BaselineIsTheRowMostGlyphsFitOn) {
  const struct {
    const char* name;
    std::vector<std::pair<int, int>> glyphs;  // top, height
    int preferred, baseline;
    int cellHeight = 16;
  } cases[] = {
      {"full-height glyphs fit on one row only", {{14, 16}, {14, 16}}, 10, 14},
      {"the few that stick out do not move it", {{14, 16}, {14, 16}, {15, 16}}, 10, 14},
      {"a tie goes to the face's ascent", {{10, 10}, {10, 10}}, 13, 13},
      {"nearest the ascent when it lies outside the tie", {{10, 10}}, 20, 16},
      {"ink taller than the cell fits nowhere", {{20, 20}, {12, 12}}, 14, 14},
      {"no ink at all", {}, 12, 12},
      {"a taller cell", {{21, 23}, {20, 23}, {19, 22}}, 24, 21, 24},
      {"a shorter cell", {{10, 11}, {10, 11}, {11, 12}}, 8, 11, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::optional<SourceGlyph>> glyphs{std::nullopt};
    for (const auto& [top, height] : c.glyphs) glyphs.push_back(ink(16, 0, top, 16, height));
    EXPECT_EQ(chooseBaseline(glyphs, c.preferred, c.cellHeight), c.baseline);
  }
}

}  // namespace
}  // namespace lumadot
