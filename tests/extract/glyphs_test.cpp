#include "extract/glyph_entries.h"
#include "extract/glyphs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

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

}  // namespace
}  // namespace lumadot
