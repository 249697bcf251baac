#include "preview/dot_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/glyph_samples.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

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
  ByteLayout layout;
  std::vector<std::pair<int, std::uint8_t>> doubleBytes;
  std::vector<std::pair<int, std::uint8_t>> singleBytes;
  std::uint8_t fill = 0;  // every byte not listed
};

class DrawLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(DrawLayout, StoredBytesDrawUprightGlyphs) {
  const LayoutCase& stored = GetParam();
  const DotPicture picture =
      pictureOf({sparseGlyph(true, stored.doubleBytes, stored.fill), sparseGlyph(false, stored.singleBytes, stored.fill)},
                stored.layout);
  EXPECT_EQ(picture.width(), 24);
  EXPECT_EQ(picture.glyphStarts(), (std::vector<int>{0, 16}));
  EXPECT_EQ(dotRows(picture), kUpright);
}

INSTANTIATE_TEST_SUITE_P(
    Options, DrawLayout,
    ::testing::Values(
        LayoutCase{"RowByRow", {Scan::rows, false, false},
                   {{0, 0x80}, {2, 0x01}, {3, 0xC0}, {17, 0x80}, {30, 0x20}, {31, 0x01}},
                   {{1, 0xC0}, {3, 0x02}, {15, 0x10}}},
        LayoutCase{"Split", {Scan::rowBands, false, false},
                   {{0, 0x80}, {1, 0x01}, {17, 0xC0}, {24, 0x80}, {15, 0x20}, {31, 0x01}},
                   {{1, 0xC0}, {3, 0x02}, {15, 0x10}}},
        LayoutCase{"Reversed", {Scan::rows, true, false},
                   {{0, 0x01}, {2, 0x80}, {3, 0x03}, {17, 0x01}, {30, 0x04}, {31, 0x80}},
                   {{1, 0x03}, {3, 0x40}, {15, 0x08}}},
        LayoutCase{"SplitReversed", {Scan::rowBands, true, false},
                   {{0, 0x01}, {1, 0x80}, {17, 0x03}, {24, 0x01}, {15, 0x04}, {31, 0x80}},
                   {{1, 0x03}, {3, 0x40}, {15, 0x08}}},
        // A byte is a column: 2x + level, or 16 (8) x level + x; the topmost dot in bit 7.
        LayoutCase{"Columns", {Scan::columns, false, false},
                   {{0, 0x80}, {14, 0x40}, {16, 0x40}, {17, 0x80}, {18, 0x40}, {5, 0x01}, {31, 0x01}},
                   {{0, 0x40}, {2, 0x40}, {12, 0x10}, {7, 0x01}}},
        LayoutCase{"ColumnsReversed", {Scan::columns, true, false},
                   {{0, 0x01}, {14, 0x02}, {16, 0x02}, {17, 0x01}, {18, 0x02}, {5, 0x80}, {31, 0x80}},
                   {{0, 0x02}, {2, 0x02}, {12, 0x08}, {7, 0x80}}},
        LayoutCase{"ColumnBands", {Scan::columnBands, false, false},
                   {{0, 0x80}, {7, 0x40}, {8, 0x40}, {9, 0x40}, {24, 0x80}, {18, 0x01}, {31, 0x01}},
                   {{0, 0x40}, {1, 0x40}, {6, 0x10}, {11, 0x01}}},
        LayoutCase{"RowByRowNegative", {Scan::rows, false, true},
                   {{0, 0x7F}, {2, 0xFE}, {3, 0x3F}, {17, 0x7F}, {30, 0xDF}, {31, 0xFE}},
                   {{1, 0x3F}, {3, 0xFD}, {15, 0xEF}}, 0xFF},
        LayoutCase{"ColumnBandsReversedNegative", {Scan::columnBands, true, true},
                   {{0, 0xFE}, {7, 0xFD}, {8, 0xFD}, {9, 0xFD}, {24, 0xFE}, {18, 0x7F}, {31, 0x7F}},
                   {{0, 0xFD}, {1, 0xFD}, {6, 0xF7}, {11, 0x7F}}, 0xFF}),
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
  EXPECT_EQ(dotRows(pictureOf(glyphs, {Scan::rowBands, false, false})), split);
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
