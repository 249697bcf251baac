// What a run's glyphs become in each output, and where each glyph stands in
// it; and what the fonts cannot draw, as the shells are told it.
#include "run/output_for.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/glyph_source.h"
#include "extract/listing.h"
#include "extract/text_codec.h"
#include "run/undrawn_report.h"
#include "support/named_rows.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::PrintTo;

// 中 with bytes 0xE0..0xFF, then A with 0x00..0x0F: three lines of 16 in the hex views.
Glyphs zhongA() {
  Glyphs glyphs;
  for (int i = 0; i < 32; ++i) glyphs.bytes.push_back(static_cast<std::uint8_t>(0xE0 + i));
  for (int i = 0; i < 16; ++i) glyphs.bytes.push_back(static_cast<std::uint8_t>(i));
  glyphs.glyphs = {{u"中", -10544, 0, 32}, {u"A", 'A', 32, 16}};
  return glyphs;
}

struct SpanCase {
  const char* name;
  OutputRequest request;
  // Each glyph's span in the text: how it starts and how it ends.
  std::vector<std::pair<std::string, std::string>> spans;
};

class GlyphSpansOf : public ::testing::TestWithParam<SpanCase> {};

TEST_P(GlyphSpansOf, EachGlyphsSpanHoldsItsHeaderAndItsBytesAndNothingElse) {
  const SpanCase& row = GetParam();
  const RunOutput output = outputFor(zhongA(), row.request);
  ASSERT_EQ(output.glyphSpans.size(), row.spans.size());
  for (std::size_t k = 0; k < row.spans.size(); ++k) {
    const auto [begin, end] = output.glyphSpans[k];
    ASSERT_LE(begin, end);
    ASSERT_LE(end, output.text.size());
    const std::string span = output.text.substr(begin, end - begin);
    const auto& [starts, ends] = row.spans[k];
    EXPECT_EQ(span.substr(0, starts.size()), starts) << k;
    ASSERT_GE(span.size(), ends.size());
    EXPECT_EQ(span.substr(span.size() - ends.size()), ends) << k;
    EXPECT_EQ(span.find(k == 0 ? "--------A-" : "--------中"), std::string::npos) << k;
  }
}

OutputRequest asked(OutputFormat format, bool oneTable = false, bool subset = false) {
  return {format, {"ZI", oneTable}, {}, subset};
}

INSTANTIATE_TEST_SUITE_P(
    OutputFor, GlyphSpansOf,
    ::testing::Values(
        SpanCase{"Listing", asked(OutputFormat::listing),
                 {{";--------中--------字模结构：　16*16　点阵\r\nDB  E0H,E1H,", "\r\nF0H,F1H,F2H,F3H,F4H,F5H,F6H,F7H,F8H,F9H,FAH,FBH,FCH,FDH,FEH,FFH,"},
                  {";--------A--------字模结构：　8*16　点阵\r\nDB  0H,1H,", "EH,FH,"}}},
        SpanCase{"A51", asked(OutputFormat::a51),
                 {{";--------中", "0FEH,0FFH"}, {";--------A--------字模结构：　8*16　点阵\r\nZI_1:\r\n", "00EH,00FH"}}},
        SpanCase{"Sdas", asked(OutputFormat::sdas), {{";--------中", "0xFE,0xFF"}, {";--------A", "0x0E,0x0F"}}},
        SpanCase{"C51Arrays", asked(OutputFormat::c51),
                 {{"//--------中", "0xFE,0xFF\r\n};"}, {"//--------A--------字模结构：　8*16　点阵\r\nunsigned char code ZI_1[16]",
                                                        "0x0E,0x0F\r\n};"}}},
        SpanCase{"SdccTable", asked(OutputFormat::sdcc, true), {{"//--------中", "0xFE,0xFF,"}, {"//--------A", "0x0E,0x0F"}}},
        SpanCase{"IntelHex", asked(OutputFormat::hex),
                 {{":10000000E0E1E2", "\r\n:10001000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF68"},
                  {":10002000000102030405060708090A0B0C0D0E0F58", ":10002000000102030405060708090A0B0C0D0E0F58"}}},
        SpanCase{"BinAsAHexView", asked(OutputFormat::bin),
                 {{"00000000  E0 E1", "\r\n00000010  F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF"},
                  {"00000020  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F", " 0E 0F"}}},
        // The subset's tables hold its glyphs sorted and merged: no glyph stands alone in them.
        SpanCase{"Subset", asked(OutputFormat::c51, false, true), {}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OutputFor, TheListingIsTheResultBoxsTextAndBinSavesTheRawBytes) {
  const Glyphs glyphs = zhongA();
  EXPECT_EQ(outputFor(glyphs, asked(OutputFormat::listing)).text, utf16ToUtf8(listing(glyphs)));
  const RunOutput bin = outputFor(glyphs, asked(OutputFormat::bin));
  EXPECT_EQ(bin.file, std::string(glyphs.bytes.begin(), glyphs.bytes.end()));
  // A save in GBK holds the comments in GBK; the box shows them as UTF-8.
  const RunOutput gbk = outputFor(glyphs, {OutputFormat::a51, {}, {true, SourceEncoding::gbk}, false});
  EXPECT_EQ(gbk.file.substr(0, 11), ";--------\xD6\xD0");
  EXPECT_EQ(gbk.text.substr(0, 12), ";--------中");
}

TEST(OutputFor, AskingForWhatTheFormatCannotHoldSaysWhy) {
  EXPECT_EQ(outputProblem(asked(OutputFormat::c51, true)), std::nullopt);
  EXPECT_EQ(outputProblem(asked(OutputFormat::a51, true)), "one table goes with c51 or sdcc");
  EXPECT_EQ(outputProblem(asked(OutputFormat::hex, false, true)),
            "a font subset is written as a51, as31, sdas, c51 or sdcc source");
  EXPECT_EQ(outputProblem({OutputFormat::a51, {"9Z", false}, {}, false}), "the name must start with a letter or '_'");
}

struct UndrawnCase {
  const char* name;
  std::uint64_t hzk16Size;  // of the font files; 0: drawn from DejaVu Sans Mono instead
  std::u16string text;
  std::vector<std::pair<std::u16string, Undrawn>> undrawn;
};

class UndrawnReportOf : public ::testing::TestWithParam<UndrawnCase> {};

TEST_P(UndrawnReportOf, NamesEachCharacterOnceWithWhyInTheOrderOfTheText) {
  const UndrawnCase& row = GetParam();
  test::TempDir dir;
  test::writeSyntheticFonts(dir.path(), kAsc16Size, row.hzk16Size ? row.hzk16Size : kHzk16Size);
  FontChoice choice;
  if (!row.hzk16Size) choice.file = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
  RunFonts fonts(dir.path(), choice, dir.path());
  ASSERT_FALSE(fonts.failure());
  ASSERT_TRUE(lookUp(row.text, {}, fonts.source()));
  const UndrawnReport report = undrawnReport(row.text, fonts);
  std::vector<std::pair<std::u16string, Undrawn>> undrawn;
  for (const UndrawnCharacter& c : report.characters) undrawn.emplace_back(c.character, c.why);
  EXPECT_EQ(undrawn, row.undrawn);
  std::vector<std::u16string> each;
  for (const auto& [character, why] : row.undrawn) each.push_back(character);
  EXPECT_EQ(report.each(), each);
}

INSTANTIATE_TEST_SUITE_P(
    UndrawnReport, UndrawnReportOf,
    ::testing::Values(UndrawnCase{"AllDrawn", kHzk16Size, u"中A", {}},
                      UndrawnCase{"NotInCodePage936", kHzk16Size, u"中😀A😀", {{u"😀", Undrawn::questionMark}}},
                      UndrawnCase{"PastAShortHzk16", 64, u"A中中", {{u"中", Undrawn::pastHzk16End}}},
                      UndrawnCase{"NotInAFontDrawnFrom", 0, u"中😀A中", {{u"😀", Undrawn::questionMark},
                                                                        {u"中", Undrawn::notInFont}}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot
