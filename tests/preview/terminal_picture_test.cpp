#include "preview/terminal_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/glyph_samples.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::pictureOf;
using test::sparseGlyph;

// Each glyph lights its top-left and bottom-right dot, so every cut shows.
const std::vector<test::StoredGlyph> kGlyphs{
    sparseGlyph(false, {{0, 0x80}, {15, 0x01}}), sparseGlyph(true, {{0, 0x80}, {31, 0x01}}),
    sparseGlyph(false, {{0, 0x80}, {15, 0x01}}), sparseGlyph(false, {{0, 0x80}, {15, 0x01}})};

std::string band(const std::vector<int>& glyphWidths) {
  std::string top;
  std::string bottom;
  for (const int w : glyphWidths) {
    top += "#" + std::string(static_cast<std::size_t>(w - 1), '.');
    bottom += std::string(static_cast<std::size_t>(w - 1), '.') + "#";
  }
  std::string text = top + "\n";
  for (int y = 1; y < 15; ++y) text += std::string(top.size(), '.') + "\n";
  return text + bottom + "\n";
}

struct BandCase {
  const char* name;
  int maxWidth;
  std::vector<std::vector<int>> bands;
};

class Banding : public ::testing::TestWithParam<BandCase> {};

TEST_P(Banding, CutsAtGlyphStartsWithOneEmptyLineBetween) {
  std::string expected;
  for (const auto& glyphWidths : GetParam().bands) expected += (expected.empty() ? "" : "\n") + band(glyphWidths);
  EXPECT_EQ(terminalPicture(pictureOf(kGlyphs), kAsciiDots, GetParam().maxWidth), expected);
}

INSTANTIATE_TEST_SUITE_P(Widths, Banding,
                         ::testing::Values(BandCase{"Unlimited", 0, {{8, 16, 8, 8}}},
                                           BandCase{"Negative", -3, {{8, 16, 8, 8}}},
                                           BandCase{"WholeWidth", 40, {{8, 16, 8, 8}}},
                                           BandCase{"OneDotShort", 39, {{8, 16, 8}, {8}}},
                                           BandCase{"TwoBands", 24, {{8, 16}, {8, 8}}},
                                           BandCase{"DoubleByteWidth", 16, {{8}, {16}, {8, 8}}},
                                           BandCase{"WideGlyphAlone", 10, {{8}, {16}, {8}, {8}}},
                                           BandCase{"NarrowerThanAnyGlyph", 5, {{8}, {16}, {8}, {8}}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(TerminalPicture, EmptyPictureGivesNoText) {
  EXPECT_EQ(terminalPicture(pictureOf({}), kAsciiDots, 0), "");
  EXPECT_EQ(terminalPicture(pictureOf({}), kBlockDots, 8), "");
}

}  // namespace
}  // namespace lumadot
