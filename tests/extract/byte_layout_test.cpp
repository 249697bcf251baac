// The byte layouts at every size, held to the rules as docs/layouts.md words
// them, by an encoder written here from those words alone.
#include "extract/byte_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/font_layout.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

// The dots of one byte, its first dot first.
using Group = std::vector<std::pair<int, int>>;

// Dots x0.. of row y, at most 8 and none past the right edge.
Group across(Dots dots, int x0, int y) {
  Group group;
  for (int x = x0; x < x0 + 8 && x < dots.width; ++x) group.emplace_back(x, y);
  return group;
}

// Dots y0.. of column x, at most 8 and none past the foot.
Group down(Dots dots, int x, int y0) {
  Group group;
  for (int y = y0; y < y0 + 8 && y < dots.height; ++y) group.emplace_back(x, y);
  return group;
}

// The glyph's bytes in order, each as the dots it holds:
//  rows: rows top to bottom, each row in ceil(W/8) bytes left to right;
//  row-bands: bands of 8 columns left to right, in each band the rows top to bottom, a byte each;
//  columns: columns left to right, each in ceil(H/8) bytes top to bottom;
//  column-bands: bands of 8 rows top to bottom, in each band the columns left to right.
std::vector<Group> groupsOf(Dots dots, Scan scan) {
  std::vector<Group> groups;
  switch (scan) {
    case Scan::rows:
      for (int y = 0; y < dots.height; ++y)
        for (int x = 0; x < dots.width; x += 8) groups.push_back(across(dots, x, y));
      break;
    case Scan::rowBands:
      for (int x = 0; x < dots.width; x += 8)
        for (int y = 0; y < dots.height; ++y) groups.push_back(across(dots, x, y));
      break;
    case Scan::columns:
      for (int x = 0; x < dots.width; ++x)
        for (int y = 0; y < dots.height; y += 8) groups.push_back(down(dots, x, y));
      break;
    case Scan::columnBands:
      for (int y = 0; y < dots.height; y += 8)
        for (int x = 0; x < dots.width; ++x) groups.push_back(down(dots, x, y));
      break;
  }
  return groups;
}

// The first dot in bit 7, or bit 0 with --lsb-first; a byte cut short is
// dark after its dots; --negative inverts every bit.
std::vector<std::uint8_t> byRule(const GlyphPicture& picture, const ByteLayout& layout) {
  std::vector<std::uint8_t> bytes;
  for (const Group& group : groupsOf(picture.dots(), layout.scan)) {
    unsigned byte = 0;
    for (std::size_t i = 0; i < group.size(); ++i) {
      if (picture.lit(group[i].first, group[i].second)) byte |= 1U << (layout.lsbFirst ? i : 7 - i);
    }
    bytes.push_back(static_cast<std::uint8_t>(layout.negative ? ~byte : byte));
  }
  return bytes;
}

GlyphPicture pseudoRandom(Dots dots, std::uint64_t seed) {
  GlyphPicture picture(dots);
  for (int y = 0; y < dots.height; ++y) {
    for (int x = 0; x < dots.width; ++x) {
      seed = seed * 6364136223846793005U + 1442695040888963407U;
      if ((seed >> 62) & 1U) picture.light(x, y);
    }
  }
  return picture;
}

std::string shown(Dots dots, const ByteLayout& layout) {
  return std::to_string(dots.width) + "x" + std::to_string(dots.height) + " " + std::string(scanName(layout.scan)) +
         (layout.lsbFirst ? " lsb-first" : "") + (layout.negative ? " negative" : "");
}

struct SizeCase {
  const char* name;
  Dots dots;
  std::size_t rowScanBytes, columnScanBytes;  // worked out by hand
};

class ByteLayoutSizes : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ByteLayoutSizes, EveryLayoutKeepsTheRulesAndReadsBack) {
  const SizeCase& c = GetParam();
  const GlyphPicture picture = pseudoRandom(c.dots, static_cast<std::uint64_t>(c.dots.width * 100 + c.dots.height));
  ASSERT_GT(picture.litCount(), 0);
  for (const ByteLayout& layout : allLayouts()) {
    const std::vector<std::uint8_t> expected = byRule(picture, layout);
    EXPECT_EQ(expected.size(), scansColumns(layout.scan) ? c.columnScanBytes : c.rowScanBytes) << shown(c.dots, layout);
    ASSERT_EQ(glyphSize(c.dots, layout.scan), expected.size()) << shown(c.dots, layout);
    std::vector<std::uint8_t> bytes(expected.size() + 1, 0xA5);  // one byte past the glyph, which must stay
    encodeGlyph(picture, layout, bytes);
    EXPECT_EQ(bytes.back(), 0xA5) << shown(c.dots, layout);
    bytes.pop_back();
    EXPECT_EQ(bytes, expected) << shown(c.dots, layout);
    EXPECT_EQ(decodeGlyph(bytes, c.dots, layout), picture) << shown(c.dots, layout);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ByteLayoutSizes,
    ::testing::Values(SizeCase{"SingleByteOf16", CellSize{16, 16}.singleByte(), 16, 16},
                      SizeCase{"Sixteen", {16, 16}, 32, 32},
                      SizeCase{"Twelve", {12, 12}, 24, 24},
                      SizeCase{"TwentyFour", {24, 24}, 72, 72},
                      SizeCase{"ThirtyTwo", {32, 32}, 128, 128},
                      SizeCase{"TwentyFourBySixteen", CellSize{24, 16}.doubleByte(), 48, 48},
                      SizeCase{"SingleByteOf24x16", CellSize{24, 16}.singleByte(), 32, 24},
                      SizeCase{"Nine", {9, 9}, 18, 18},
                      SizeCase{"SixtyFour", {64, 64}, 512, 512}),
    [](const auto& row) { return std::string(row.param.name); });

// A picture with one dot lit differs from the blank one in the byte and bit bytePlace names, and nowhere else.
TEST(BytePlace, IsWhereEncodingPutsEachDot) {
  for (const Dots dots : {Dots{16, 16}, Dots{8, 16}, Dots{12, 24}, Dots{24, 24}, Dots{13, 11}, Dots{64, 64}}) {
    for (const ByteLayout& layout : allLayouts()) {
      std::vector<std::uint8_t> blank(glyphSize(dots, layout.scan)), lit(blank.size());
      encodeGlyph(GlyphPicture(dots), layout, blank);
      for (int y = 0; y < dots.height; ++y) {
        for (int x = 0; x < dots.width; ++x) {
          GlyphPicture one(dots);
          one.light(x, y);
          encodeGlyph(one, layout, lit);
          const BytePlace place = bytePlace(dots, layout, x, y);
          ASSERT_LT(place.byte, lit.size()) << shown(dots, layout) << " dot " << x << "," << y;
          std::vector<std::uint8_t> expected = blank;
          expected[place.byte] ^= static_cast<std::uint8_t>(1U << place.bit);
          ASSERT_EQ(lit, expected) << shown(dots, layout) << " dot " << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace lumadot
