#include "extract/glyph_entries.h"
#include "extract/glyphs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "extract/ansi_code.h"
#include "support/named_rows.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::PrintTo;

struct Shape {
  std::u16string character;
  bool doubleByte;
  std::size_t offset;
  std::size_t size;
  friend bool operator==(const Shape&, const Shape&) = default;
  friend std::ostream& operator<<(std::ostream& out, const Shape& s) {
    return out << s.character.size() << " units, " << (s.doubleByte ? "double" : "single") << " @" << s.offset
               << " x" << s.size;
  }
};


struct LookUpCase {
  const char* name;
  std::u16string text;
  std::vector<Shape> expected;
  int columns;
};

class LookUp : public ::testing::TestWithParam<LookUpCase> {
 protected:
  test::TempDir dir;
  FontPaths fonts = test::writeSyntheticFonts(dir.path());
};

// One glyph per character that gets one, each paired with its character and
// its own bytes.
TEST_P(LookUp, PairsEachGlyphWithItsCharacter) {
  const auto glyphs = lookUp(GetParam().text, {}, fonts);
  ASSERT_TRUE(glyphs) << glyphs.error().text;
  std::vector<Shape> shapes;
  for (const auto& entry : glyphEntries(*glyphs)) {
    shapes.push_back({std::u16string(entry.character), entry.doubleByte,
                      static_cast<std::size_t>(entry.bytes.data() - glyphs->bytes.data()), entry.bytes.size()});
  }
  EXPECT_EQ(shapes, GetParam().expected);
  EXPECT_EQ(glyphs->columnCount(), GetParam().columns);
  const auto& last = GetParam().expected;
  EXPECT_EQ(glyphs->bytes.size(), last.empty() ? 0 : last.back().offset + last.back().size);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LookUp,
    ::testing::Values(
        LookUpCase{"Empty", u"", {}, 0},
        LookUpCase{"Mixed", u"A中B", {{u"A", false, 0, 16}, {u"中", true, 16, 32}, {u"B", false, 48, 16}}, 4},
        LookUpCase{"CrLfSkipped", u"A\r\nB", {{u"A", false, 0, 16}, {u"B", false, 16, 16}}, 2},
        LookUpCase{"LoneLineFeedIsLookedUp", u"\n", {{u"\n", false, 0, 16}}, 1},
        LookUpCase{"EmojiIsOneSingleByteCharacter", u"😀", {{u"😀", false, 0, 16}}, 1}),
    [](const auto& row) { return std::string(row.param.name); });

// The same text gives equal values, whatever ran between; another layout does not.
TEST_F(LookUp, IsAValue) {
  const auto first = lookUp(u"中A", {}, fonts);
  ASSERT_TRUE(first);
  ASSERT_TRUE(lookUp(std::u16string(100, u'中'), {}, fonts));
  EXPECT_TRUE(*first == *lookUp(u"中A", {}, fonts));
  EXPECT_FALSE(*first == *lookUp(u"中A", windowLayout(true, false), fonts));
}

// Where a character's glyph lies in the font files, from the grids' own
// rules: GB2312 A1-FE x A1-FE; GBK 81-FE x 40-7E, 80-FE.
std::optional<std::size_t> place(char16_t character, Charset charset, CellSize cell) {
  const auto gbk = charset == Charset::gbk;
  const std::uint16_t code = static_cast<std::uint16_t>(ansiCode(character));
  const int lead = code >> 8, trail = code & 0xFF;
  if (lead == 0) return static_cast<std::size_t>(trail) * glyphSize(cell.singleByte());
  if (!gbk && (lead < 0xA1 || trail < 0xA1)) return std::nullopt;
  const int index = gbk ? (lead - 0x81) * 190 + trail - 0x40 - (trail > 0x7F ? 1 : 0)
                        : (lead - 0xA1) * 94 + trail - 0xA1;
  return static_cast<std::size_t>(index) * glyphSize(cell.doubleByte());
}

// Every size and grid looks each glyph up at its own place: the synthetic
// fonts' bytes spell their offsets. A row's dots past the glyph's edge are
// dropped; every layout draws the same picture.
TEST(SizedLookUp, ReadsEachGlyphFromItsPlaceInEveryLayout) {
  const std::u16string text = u"A中體~";
  for (const char* size : {"12", "24", "32", "24x16", "16"}) {
    for (const Charset charset : {Charset::gb2312, Charset::gbk}) {
      SCOPED_TRACE(std::string(size) + " " + std::string(charsetName(charset)));
      const CellSize cell = *CellSize::named(size);
      test::TempDir dir;
      const FontPaths fonts = test::writeSyntheticFonts(dir.path(), cell, charset);
      const auto rows = lookUp(text, {}, fonts);
      ASSERT_TRUE(rows) << rows.error().text;
      EXPECT_EQ(rows->cell, cell);
      for (const Glyph& glyph : rows->glyphs) {
        const Dots dots = rows->dots(glyph);
        const auto at = place(glyph.character[0], charset, cell);
        auto expected = at ? test::offsetBytes(*at, glyphSize(dots), ~0ULL) : std::vector<std::uint8_t>(glyphSize(dots));
        const int across = (dots.width + 7) / 8;
        const auto edge = static_cast<std::uint8_t>(0xFF00U >> (dots.width % 8 == 0 ? 8 : dots.width % 8));
        for (std::size_t i = static_cast<std::size_t>(across - 1); i < expected.size(); i += static_cast<std::size_t>(across)) {
          expected[i] = static_cast<std::uint8_t>(expected[i] & edge);
        }
        const std::span<const std::uint8_t> bytes(rows->bytes.data() + glyph.offset, glyph.size);
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), expected.begin(), expected.end()));
        for (const ByteLayout& layout : allLayouts()) {
          const auto other = lookUp(text, layout, fonts);
          ASSERT_TRUE(other);
          const Glyph& same = other->glyphs[static_cast<std::size_t>(&glyph - rows->glyphs.data())];
          ASSERT_EQ(same.size, glyphSize(dots, layout.scan));
          const std::span<const std::uint8_t> arranged(other->bytes.data() + same.offset, same.size);
          EXPECT_EQ(decodeGlyph(arranged, dots, layout), decodeGlyph(bytes, dots, {}));
        }
      }
      // Bytes of one layout laid out in another are that layout's lookup, either way round.
      for (const ByteLayout& layout : allLayouts()) {
        const auto other = lookUp(text, layout, fonts);
        EXPECT_EQ(laidOut(*rows, {}, layout), *other);
        EXPECT_EQ(laidOut(*other, layout, kFrameLayout), *lookUp(text, kFrameLayout, fonts));
      }
    }
  }
}

}  // namespace
}  // namespace lumadot
