// Random texts of every kind of character the window can hold, checked
// against what must hold for any text.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "extract/character_walk.h"
#include "extract/glyphs.h"
#include "extract/listing.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

std::u16string randomText(std::mt19937& rng, std::size_t length) {
  static const std::u16string pieces[] = {
      u"A", u"z", u" ", u"\t", u"\n", u"\r", u"\r\n", std::u16string(1, u'\0'), u"\x7F", u"€", u"中", u"啊", u"　",
      u"：", u"丟", u"〇", u"한", u"\U0001F600", std::u16string(1, char16_t(0xD800)), std::u16string(1, char16_t(0xDFFF)),
      u"\uFFFD", u"é"};
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  std::u16string text;
  while (text.size() < length) text += pieces[pick(rng)];
  return text;
}

TEST(RandomTexts, EveryGlyphIsListedOnce) {
  test::TempDir dir;
  const FontPaths fonts = test::writeSyntheticFonts(dir.path());
  std::mt19937 rng(20261207);
  for (int round = 0; round < 300; ++round) {
    const std::u16string text = randomText(rng, rng() % 200);
    const std::u16string before = text;
    int singles = 0, doubles = 0;
    CharacterWalk walk(text);
    while (const auto c = walk.next()) (isDoubleByte(*c) ? doubles : singles)++;

    const auto glyphs = lookUp(text, allLayouts()[static_cast<std::size_t>(round % kLayoutCount)], fonts);
    ASSERT_TRUE(glyphs);
    EXPECT_EQ(text, before);
    EXPECT_EQ(glyphs->columnCount(), singles + 2 * doubles);
    EXPECT_EQ(glyphs->bytes.size(), static_cast<std::size_t>(16 * singles + 32 * doubles));
    const std::u16string listed = listing(*glyphs);
    // One entry per glyph, and a data line per 16 bytes.
    std::size_t entries = 0, dataLines = 0;
    for (std::size_t p = 0; (p = listed.find(u";--------", p)) != std::u16string::npos; ++p) ++entries;
    for (std::size_t p = 0; (p = listed.find(u"H,\r\n", p)) != std::u16string::npos; ++p) ++dataLines;
    EXPECT_EQ(entries, static_cast<std::size_t>(singles + doubles)) << "round " << round;
    EXPECT_EQ(dataLines, glyphs->bytes.size() / 16) << "round " << round;
  }
}

}  // namespace
}  // namespace lumadot
