// What a user's bytes tell about their layout, as detect and the workbench's dialog both word it.
#include "extract/detect_verdict.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/glyph_entries.h"

namespace lumadot {
namespace {

// Our glyphs of `text` from the program's font files.
std::vector<GlyphPicture> ours(std::u16string_view text) {
  const auto glyphs = lookUp(text, {}, FontPaths::inDirectory(LUMADOT_BIN_DIR));
  EXPECT_TRUE(glyphs) << glyphs.error().text;
  return glyphPictures(*glyphs, {});
}

// The bytes of our glyphs of `text` in `layout`, one after another.
std::vector<std::uint8_t> bytesOf(std::u16string_view text, const ByteLayout& layout) {
  std::vector<std::uint8_t> bytes;
  for (const GlyphPicture& picture : ours(text)) {
    std::vector<std::uint8_t> glyph(glyphSize(picture.dots(), layout.scan));
    encodeGlyph(picture, layout, glyph);
    bytes.insert(bytes.end(), glyph.begin(), glyph.end());
  }
  return bytes;
}

using Kind = ByteVerdict::Kind;
constexpr ByteLayout kColumns{Scan::columns, true, false};

struct BytesCase {
  const char* name;
  std::u16string drawn;  // whose glyphs the bytes are
  std::u16string text;   // what the user says they are
  ByteLayout layout;     // theirs
  std::size_t cut;       // bytes left off the end
  Kind kind;
  std::size_t given;
  GlyphBytes wanted;
  std::string reason;
};

class JudgeBytes : public ::testing::TestWithParam<BytesCase> {};

TEST_P(JudgeBytes, GivesOneVerdict) {
  const BytesCase& row = GetParam();
  std::vector<std::uint8_t> bytes = row.drawn.empty() ? std::vector<std::uint8_t>(32, 0) : bytesOf(row.drawn, row.layout);
  bytes.resize(bytes.size() - row.cut);
  const ByteVerdict verdict = judgeBytes(bytes, ours(row.text));
  EXPECT_EQ(verdict.kind, row.kind);
  EXPECT_EQ(verdict.given, row.given);
  EXPECT_EQ(verdict.wanted.rowScans, row.wanted.rowScans);
  EXPECT_EQ(verdict.wanted.columnScans, row.wanted.columnScans);
  EXPECT_EQ(verdict.reason, row.reason);
  EXPECT_EQ(verdict.detection.has_value(), row.kind == Kind::closeRace || row.kind == Kind::found);
  if (row.kind == Kind::found) {
    EXPECT_EQ(verdict.detection->best.layout, row.layout);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Verdicts, JudgeBytes,
    ::testing::Values(
        BytesCase{"Found", u"国", u"国", kColumns, 0, Kind::found, 32, {32, 32}, ""},
        BytesCase{"FoundForATable", u"中A国", u"中A国", kColumns, 0, Kind::found, 80, {80, 80}, ""},
        BytesCase{"OneByteShort", u"国", u"国", kColumns, 1, Kind::wrongCount, 31, {32, 32}, ""},
        BytesCase{"AGlyphShort", u"中A", u"中A国", kColumns, 0, Kind::wrongCount, 48, {80, 80}, ""},
        BytesCase{"SamePictureInEveryLayout", u"", u"国", {}, 0, Kind::unjudgeable, 32, {32, 32},
                  "the bytes draw the same picture in every layout (a blank glyph?), so they cannot tell one layout "
                  "from another; give the bytes of more characters, ones with strokes"},
        BytesCase{"AnotherCharactersBytes", u"中", u"国", {}, 0, Kind::closeRace, 32, {32, 32}, ""},
        BytesCase{"BlankGlyphs", u"", u" ", {}, 16, Kind::blank, 0, {0, 0}, ""}),
    [](const auto& row) { return std::string(row.param.name); });

struct CharactersCase {
  const char* name;
  std::u16string text;
  std::optional<std::u16string> symbol;
};

class JudgeCharacters : public ::testing::TestWithParam<CharactersCase> {};

TEST_P(JudgeCharacters, RefusesTheFirstDoubleByteSymbol) {
  const auto verdict = judgeCharacters(GetParam().text);
  ASSERT_EQ(verdict.has_value(), GetParam().symbol.has_value());
  if (verdict) {
    EXPECT_EQ(verdict->kind, Kind::symbol);
    EXPECT_EQ(verdict->character, *GetParam().symbol);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Characters, JudgeCharacters,
    ::testing::Values(CharactersCase{"Chinese", u"欢迎光临", std::nullopt},
                      CharactersCase{"SingleByte", u"A1,", std::nullopt},
                      CharactersCase{"GbkChinese", u"丟", std::nullopt},
                      CharactersCase{"FullWidthComma", u"国，", u"，"},
                      CharactersCase{"CircledOne", u"①国", u"①"},
                      CharactersCase{"FirstOfTwo", u"国。、", u"。"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(GivenGlyphs, AreTheBytesCutAsEachLayoutSizesOurGlyphs) {
  const std::vector<std::uint8_t> bytes = bytesOf(u"中A", kColumns);
  ASSERT_EQ(bytes.size(), 48u);
  const Glyphs given = givenGlyphs(u"中A", ours(u"中A"), bytes, kColumns);
  EXPECT_EQ(given.bytes, bytes);
  EXPECT_EQ(given.cell, (CellSize{16, 16}));
  EXPECT_EQ(given.glyphs, (std::vector<Glyph>{{u"中", -10544, 0, 32}, {u"A", 'A', 32, 16}}));
  // Bytes that do not come out even are no glyphs at all.
  EXPECT_EQ(givenGlyphs(u"中A", ours(u"中A"), std::span(bytes).first(47), kColumns), Glyphs{});
  // A single-byte glyph alone gives back its cell.
  EXPECT_EQ(givenGlyphs(u"A", ours(u"A"), std::span(bytes).last(16), kColumns).cell, (CellSize{16, 16}));
}

}  // namespace
}  // namespace lumadot
