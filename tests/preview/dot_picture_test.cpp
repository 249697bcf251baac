#include "preview/dot_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/glyph_samples.h"

namespace lumadot {
namespace {

using test::dotRows;
using test::pictureOf;
using test::sparseGlyph;
using test::StoredGlyph;

// A double-byte glyph then a single-byte one, neither symmetric, so a swapped
// half, a mirrored byte or a misplaced row all show.
const std::vector<std::string> kUpright{
    "#.......................", ".......###......##......", "........................",
    "......................#.", "........................", "........................",
    "........................", "........................", "........#...............",
    "........................", "........................", "........................",
    "........................", "........................", "........................",
    "..#............#...#....",
};

struct LayoutCase {
  const char* name;
  PictureLayout layout;
  std::vector<std::pair<int, std::uint8_t>> doubleBytes;
  std::vector<std::pair<int, std::uint8_t>> singleBytes;
};

class DrawLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(DrawLayout, StoredBytesDrawUprightGlyphs) {
  const LayoutCase& stored = GetParam();
  const DotPicture picture =
      pictureOf({sparseGlyph(true, stored.doubleBytes), sparseGlyph(false, stored.singleBytes)}, stored.layout);
  EXPECT_EQ(picture.width(), 24);
  EXPECT_EQ(picture.glyphStarts(), (std::vector<int>{0, 16}));
  EXPECT_EQ(dotRows(picture), kUpright);
}

INSTANTIATE_TEST_SUITE_P(
    Options, DrawLayout,
    ::testing::Values(
        LayoutCase{"RowByRow", {false, false},
                   {{0, 0x80}, {2, 0x01}, {3, 0xC0}, {17, 0x80}, {30, 0x20}, {31, 0x01}},
                   {{1, 0xC0}, {3, 0x02}, {15, 0x10}}},
        LayoutCase{"Split", {true, false},
                   {{0, 0x80}, {1, 0x01}, {17, 0xC0}, {24, 0x80}, {15, 0x20}, {31, 0x01}},
                   {{1, 0xC0}, {3, 0x02}, {15, 0x10}}},
        LayoutCase{"Reversed", {false, true},
                   {{0, 0x01}, {2, 0x80}, {3, 0x03}, {17, 0x01}, {30, 0x04}, {31, 0x80}},
                   {{1, 0x03}, {3, 0x40}, {15, 0x08}}},
        LayoutCase{"SplitReversed", {true, true},
                   {{0, 0x01}, {1, 0x80}, {17, 0x03}, {24, 0x01}, {15, 0x04}, {31, 0x80}},
                   {{1, 0x03}, {3, 0x40}, {15, 0x08}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(DrawGlyphs, GlyphsStartWhereThePreviousEnds) {
  const DotPicture picture = pictureOf({{false, std::vector<std::uint8_t>(16, 0xFF)},
                                        {true, std::vector<std::uint8_t>(32, 0x00)},
                                        {false, std::vector<std::uint8_t>(16, 0x00)},
                                        {true, std::vector<std::uint8_t>(32, 0xFF)}});
  EXPECT_EQ(picture.width(), 48);
  EXPECT_EQ(picture.glyphStarts(), (std::vector<int>{0, 8, 24, 32}));
  const std::string edge = "########" + std::string(24, '.') + std::string(16, '#');
  EXPECT_EQ(dotRows(picture), std::vector<std::string>(16, edge));
}

TEST(DrawGlyphs, MissingBytesOfATruncatedGlyphAreDark) {
  // Exactly five bytes, so reading a sixth trips the address sanitizer.
  const std::vector<StoredGlyph> glyphs{{true, {0x80, 0x01, 0xFF, 0xFF, 0x81}}};
  std::vector<std::string> rowByRow(16, std::string(16, '.'));
  rowByRow[0] = "#..............#";
  rowByRow[1] = "################";
  rowByRow[2] = "#......#........";
  EXPECT_EQ(dotRows(pictureOf(glyphs)), rowByRow);

  std::vector<std::string> split(16, std::string(16, '.'));
  split[0] = "#...............";
  split[1] = ".......#........";
  split[2] = "########........";
  split[3] = "########........";
  split[4] = "#......#........";
  EXPECT_EQ(dotRows(pictureOf(glyphs, {true, false})), split);
  EXPECT_EQ(pictureOf(glyphs).glyphStarts(), std::vector<int>{0});
}

TEST(DrawGlyphs, NoEntriesGiveAnEmptyPicture) {
  const DotPicture picture = pictureOf({});
  EXPECT_EQ(picture.width(), 0);
  EXPECT_TRUE(picture.glyphStarts().empty());
  EXPECT_FALSE(picture.lit(0, 0));
}

}  // namespace
}  // namespace lumadot
