#include "fonts/rendered_glyphs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "extract/ansi_code.h"
#include "extract/glyphs.h"
#include "fonts/cell_character.h"
#include "support/font_bitmaps.h"

namespace lumadot {
namespace {

const std::filesystem::path kUming = "/usr/share/fonts/truetype/arphic/uming.ttc";
const std::filesystem::path kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

// `character`'s glyph as `source` draws it.
GlyphPicture glyphOf(RenderedGlyphs& source, char32_t character) {
  const std::u16string text(1, static_cast<char16_t>(character));
  const TextCharacter c{text, ansiCode(character)};
  const Dots dots = source.cell().of(isDoubleByte(c));
  std::vector<std::uint8_t> rows(glyphSize(dots));
  EXPECT_TRUE(source.glyph(c, rows));
  return decodeGlyph(rows, dots, {});
}

// Every character the font files have a cell for, the GB2312 grid's included.
std::vector<char32_t> cellCharacters() {
  std::vector<char32_t> characters;
  for (int code = 0; code < 256; ++code) {
    if (const auto c = cellCharacter(static_cast<std::int16_t>(code))) characters.push_back(*c);
  }
  for (std::size_t place = 0; place < gridPlaces(Charset::gb2312); ++place) {
    if (const auto c = cellCharacter(gridCode(Charset::gb2312, place))) characters.push_back(*c);
  }
  return characters;
}

int reportedBaseline(const std::string& description) {
  const auto at = description.find("baseline at row ");
  EXPECT_NE(at, std::string::npos) << description;
  return at == std::string::npos ? -1 : std::stoi(description.substr(at + 16));
}

TEST(RenderedGlyphsTest, CellsHoldPrintableAsciiTheEuroAndDoubleByteCharacters) {
  const struct {
    std::int16_t code;
    std::optional<char32_t> character;
  } cases[] = {
      {'A', U'A'}, {' ', U' '}, {'~', U'~'}, {0x1F, std::nullopt}, {0x7F, std::nullopt}, {0, std::nullopt},
      {0x80, U'€'}, {0x81, std::nullopt}, {0xFF, std::nullopt}, {ansiCode(U'中'), U'中'}, {ansiCode(U'龍'), U'龍'},
  };
  for (const auto& c : cases) EXPECT_EQ(cellCharacter(c.code), c.character) << c.code;
}

// AR PL UMing's 12-pixel bitmaps, whole on the face's own baseline; only
// those bigger than their cell are scaled, and counted.
TEST(RenderedGlyphsTest, BitmapsOfTheCellsHeightAreTheDesignersDots) {
  auto source = RenderedGlyphs::open(kUming, 0, {}, CellSize{12, 12}).value();
  test::FontBitmaps bitmaps(kUming, 0, 12);
  EXPECT_NE(source.description().find(kUming.string() + ": AR PL UMing CN Light, its 12-pixel bitmaps, baseline at row " +
                                      std::to_string(bitmaps.ascent())),
            std::string::npos)
      << source.description();
  std::size_t tooBig = 0, compared = 0;
  for (const char32_t c : cellCharacters()) {
    const GlyphPicture ours = glyphOf(source, c);
    if (!bitmaps.fits(c, ours.dots())) {
      tooBig += ours.litCount() > 0;
      continue;
    }
    const auto theirs = bitmaps.glyph(c, ours.dots(), bitmaps.ascent()).value_or(GlyphPicture(ours.dots()));
    EXPECT_EQ(ours, test::startingLike(theirs, ours)) << "U+" << std::hex << static_cast<unsigned>(c);
    compared += ours.litCount() > 0;
  }
  EXPECT_GT(compared, 7400u);
  EXPECT_EQ(source.scaled(), tooBig);
  EXPECT_EQ(source.missing(), std::vector<char32_t>{U'￣'});
}

// WenQuanYi Zen Hei's outlines: a glyph that fits is FreeType's own; one too
// big is FreeType's own at a smaller size, whole, never cut.
TEST(RenderedGlyphsTest, OutlinesTooBigForTheirCellAreDrawnSmallerWhole) {
  const std::u32string text = U"永和九年，岁在癸丑。中國龍Wm@%&|Il1gjQ€";
  for (const int size : {24, 32}) {
    SCOPED_TRACE(size);
    auto source = RenderedGlyphs::open(kZenHei, 0, {}, CellSize{size, size}).value();
    EXPECT_NE(source.description().find("outlines rendered at " + std::to_string(size) + " pixels"), std::string::npos);
    const int baseline = reportedBaseline(source.description());
    test::FontBitmaps bitmaps(kZenHei, 0, size);
    std::vector<std::unique_ptr<test::FontBitmaps>> smaller;  // by size, from 8
    for (int pixels = 8; pixels < size; ++pixels) smaller.push_back(std::make_unique<test::FontBitmaps>(kZenHei, 0, pixels));
    std::size_t tooBig = 0;
    for (const char32_t c : text) {
      SCOPED_TRACE(static_cast<unsigned>(c));
      const GlyphPicture ours = glyphOf(source, c);
      EXPECT_GT(ours.litCount(), 0);
      if (bitmaps.fits(c, ours.dots())) {
        EXPECT_EQ(ours, test::startingLike(*bitmaps.glyph(c, ours.dots(), baseline), ours));
        continue;
      }
      ++tooBig;
      EXPECT_TRUE(std::any_of(smaller.begin(), smaller.end(), [&](const auto& font) {
        return ours == test::startingLike(font->glyph(c, ours.dots(), baseline).value_or(GlyphPicture{}), ours);
      }));
    }
    EXPECT_FALSE(bitmaps.fits(U'W', source.cell().singleByte()));
    EXPECT_FALSE(bitmaps.fits(U'm', source.cell().singleByte()));
    EXPECT_EQ(source.scaled(), tooBig);
    EXPECT_TRUE(source.missing().empty());
  }
}

TEST(RenderedGlyphsTest, LooksUpATextDrawingEachCharacterOnce) {
  auto source = RenderedGlyphs::open(kUming, 0, {}, CellSize{24, 16}).value();
  const auto glyphs = lookUp(u"中￣A\t中￣A", {}, source).value();
  EXPECT_EQ(glyphs.cell, (CellSize{24, 16}));
  ASSERT_EQ(glyphs.glyphs.size(), 7u);
  const auto bytesOf = [&](std::size_t i) {
    const Glyph& g = glyphs.glyphs[i];
    return std::vector<std::uint8_t>(glyphs.bytes.begin() + static_cast<std::ptrdiff_t>(g.offset),
                                     glyphs.bytes.begin() + static_cast<std::ptrdiff_t>(g.offset + g.size));
  };
  EXPECT_EQ(bytesOf(0).size(), 48u);  // 24 x 16
  EXPECT_EQ(bytesOf(2).size(), 32u);  // 12 x 16: two bytes a row
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(bytesOf(i), bytesOf(i + 4));
  EXPECT_EQ(bytesOf(1), std::vector<std::uint8_t>(48, 0));  // ￣ is one UMing lacks
  EXPECT_EQ(bytesOf(3), std::vector<std::uint8_t>(32, 0));  // a tab has no glyph
  EXPECT_EQ(decodeGlyph(bytesOf(0), {24, 16}, {}), glyphOf(source, U'中'));
  EXPECT_EQ(source.missing(), std::vector<char32_t>{U'￣'});
}

TEST(RenderedGlyphsTest, FontsThatCannotBeUsedAreNamed) {
  const std::filesystem::path bitmapOnly = "/usr/share/fonts/X11/misc/wenquanyi_12pt.pcf";
  const struct {
    std::filesystem::path font, ascii;
    CellSize cell;
    std::string message;
  } cases[] = {
      {"/nonexistent.ttf", {}, {}, "/nonexistent.ttf: cannot open: No such file or directory"},
      {bitmapOnly, {}, {24, 24}, bitmapOnly.string() + ": has no 24-pixel size; its bitmaps are 16 pixels"},
      {kUming, bitmapOnly, {12, 12}, bitmapOnly.string() + ": has no 12-pixel size; its bitmaps are 16 pixels"},
      {kUming, {}, {65, 16}, kUming.string() + ": cannot draw glyphs of 65x16 dots; each side is 8 to 64"},
  };
  for (const auto& c : cases) {
    const auto opened = RenderedGlyphs::open(c.font, 0, c.ascii, c.cell);
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error().text, c.message);
  }
}

}  // namespace
}  // namespace lumadot
