#include "fonts/rendered_glyphs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <span>
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
const std::filesystem::path kDejaVuMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

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
std::u32string cellCharacters() {
  std::u32string characters;
  for (int code = 0; code < 256; ++code) {
    if (const auto c = cellCharacter(static_cast<std::int16_t>(code))) characters.push_back(*c);
  }
  for (std::size_t place = 0; place < gridPlaces(Charset::gb2312); ++place) {
    if (const auto c = cellCharacter(gridCode(Charset::gb2312, place))) characters.push_back(*c);
  }
  return characters;
}

// The first baseline the description names, or the last (the single-byte glyphs' font's).
int reportedBaseline(const std::string& description, bool last) {
  const std::string said = "baseline at row ";
  const auto at = last ? description.rfind(said) : description.find(said);
  EXPECT_NE(at, std::string::npos) << description;
  return at == std::string::npos ? -1 : std::stoi(description.substr(at + said.size()));
}

// Whether `ours` is FreeType's own drawing of `c` at some size below `pixels`.
bool drawnSmaller(const std::filesystem::path& font, char32_t c, const GlyphPicture& ours, int pixels, int baseline) {
  for (int smaller = pixels - 1; smaller >= 8; --smaller) {
    const auto theirs = test::FontBitmaps(font, 0, smaller).glyph(c, ours.dots(), baseline);
    if (theirs && ours == test::startingLike(*theirs, ours)) return true;
  }
  return false;
}

// A glyph that fits its cell is FreeType's own, whole, on the baseline the
// description names. One too big is counted as scaled; drawn from outlines,
// it is FreeType's own at a smaller size, never cut.
TEST(RenderedGlyphsTest, GlyphsAreTheFontsOwnWholeOrDrawnSmaller) {
  const std::u32string text = U"永和九年，岁在癸丑。中國龍 Wm@%&|Il1gjQ€";
  const struct {
    std::filesystem::path font, ascii;
    int size;
    std::u32string characters;  // empty: all the font files hold
    std::string drawn;
    std::u32string tooWide;  // single-byte ones among those too big
    std::vector<char32_t> missing;
  } cases[] = {
      // Row 11: UMing's 12-pixel ASCII bitmaps are 12 rows, from 11 above the baseline.
      {kUming, {}, 12, {}, "AR PL UMing CN Light, its 12-pixel bitmaps, baseline at row 11", {}, {U'￣'}},
      {kZenHei, {}, 24, text, "WenQuanYi Zen Hei Regular, outlines rendered at 24 pixels", U"Wm", {}},
      {kZenHei, {}, 32, text, "outlines rendered at 32 pixels", U"Wm", {}},
      {kZenHei, kDejaVuMono, 24, text, "from " + kDejaVuMono.string() + ": DejaVu Sans Mono Book, outlines", U"W", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drawn);
    auto source = RenderedGlyphs::open(c.font, 0, c.ascii, CellSize{c.size, c.size}).value();
    const std::string description = source.description();
    EXPECT_NE(description.find(c.drawn), std::string::npos) << description;
    test::FontBitmaps doubleBytes(c.font, 0, c.size), singleBytes(c.ascii.empty() ? c.font : c.ascii, 0, c.size);
    std::size_t tooBig = 0;
    for (const char32_t ch : c.characters.empty() ? cellCharacters() : c.characters) {
      const bool ascii = ansiCode(ch) >= 0 && !c.ascii.empty();
      const int baseline = reportedBaseline(description, ascii);
      const GlyphPicture ours = glyphOf(source, ch);
      test::FontBitmaps& theirs = ansiCode(ch) >= 0 ? singleBytes : doubleBytes;
      if (theirs.fits(ch, ours.dots())) {
        const auto drawn = theirs.glyph(ch, ours.dots(), baseline).value_or(GlyphPicture(ours.dots()));
        EXPECT_EQ(ours, test::startingLike(drawn, ours)) << static_cast<unsigned>(ch);
        continue;
      }
      ++tooBig;
      const bool outlines = !c.characters.empty();
      EXPECT_TRUE(!outlines || drawnSmaller(ascii ? c.ascii : c.font, ch, ours, c.size, baseline)) << static_cast<unsigned>(ch);
    }
    for (const char32_t ch : c.tooWide) EXPECT_FALSE(singleBytes.fits(ch, source.cell().singleByte()));
    EXPECT_EQ(source.scaled(), tooBig);
    EXPECT_EQ(source.missing(), c.missing);
  }
}

// A repeated character gets the same bytes; one the font lacks is blank and named once.
TEST(RenderedGlyphsTest, LooksUpATextDrawingEachCharacterOnce) {
  auto source = RenderedGlyphs::open(kUming, 0, {}, CellSize{24, 16}).value();
  const auto glyphs = lookUp(u"中￣A\t中￣A", {}, source).value();
  ASSERT_EQ(glyphs.glyphs.size(), 7u);
  const auto bytes = [&](std::size_t i) { return std::span(glyphs.bytes).subspan(glyphs.glyphs[i].offset, glyphs.glyphs[i].size); };
  for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(std::ranges::equal(bytes(i), bytes(i + 4)));
  EXPECT_EQ(decodeGlyph(bytes(0), {24, 16}, {}), glyphOf(source, U'中'));
  EXPECT_EQ(bytes(2).size(), 32u);  // 12 x 16, two bytes a row
  EXPECT_TRUE(std::ranges::all_of(bytes(1), [](std::uint8_t b) { return b == 0; }));
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
