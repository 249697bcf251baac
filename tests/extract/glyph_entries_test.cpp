#include "extract/glyph_entries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

struct EntriesCase {
  const char* name;
  std::u16string text;
  std::int32_t bytes;
  std::vector<Shape> expected;
};

class GlyphEntries : public ::testing::TestWithParam<EntriesCase> {};

TEST_P(GlyphEntries, PairEachGlyphWithItsCharacter) {
  GlyphBuffer buffer;
  for (std::int32_t i = 0; i < GetParam().bytes; ++i) ASSERT_TRUE(buffer.append(static_cast<std::uint8_t>(i)));
  std::vector<Shape> shapes;
  for (const auto& entry : glyphEntries(buffer, GetParam().text)) {
    shapes.push_back({std::u16string(entry.character), entry.doubleByte,
                      static_cast<std::size_t>(entry.bytes.data() - buffer.glyphBytes.data()), entry.bytes.size()});
  }
  EXPECT_EQ(shapes, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GlyphEntries,
    ::testing::Values(
        EntriesCase{"Empty", u"", 0, {}},
        EntriesCase{"Mixed", u"A中B", 64, {{u"A", false, 0, 16}, {u"中", true, 16, 32}, {u"B", false, 48, 16}}},
        EntriesCase{"CrLfSkipped", u"A\r\nB", 32, {{u"A", false, 0, 16}, {u"B", false, 16, 16}}},
        EntriesCase{"EmojiIsOneSingleByteCharacter", u"😀", 16, {{u"😀", false, 0, 16}}},
        EntriesCase{"PastTheEndOfTheText", u"A", 48, {{u"A", false, 0, 16}, {u"", false, 16, 16}, {u"", false, 32, 16}}},
        EntriesCase{"TruncatedDoubleByteGlyph", u"A中", 24, {{u"A", false, 0, 16}, {u"中", true, 16, 8}}},
        EntriesCase{"TextLongerThanTheBuffer", u"中中", 32, {{u"中", true, 0, 32}}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot
