// The source formats spelled out for two small glyphs; that real toolchains
// take them is checked end to end in the command-line tests.
#include "formats/output_format.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "extract/listing.h"
#include "extract/text_codec.h"
#include "formats/source_text.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

// 中 with bytes 0xE0.. 0xFF (every one starts with a letter), then A with 0x00..0x0F.
struct TwoGlyphs {
  std::array<std::uint8_t, 48> bytes{};
  std::vector<GlyphEntry> entries;
  TwoGlyphs() {
    for (std::size_t i = 0; i < 32; ++i) bytes[i] = static_cast<std::uint8_t>(0xE0 + i);
    for (std::size_t i = 0; i < 16; ++i) bytes[32 + i] = static_cast<std::uint8_t>(i);
    entries = {{u"中", true, std::span(bytes).first(32)}, {u"A", false, std::span(bytes).subspan(32)}};
  }
};

std::string credits(std::string_view marker) {
  std::string out = "\r\n";
  for (const auto line : kCreditLines) out += std::string(marker) + utf16ToUtf8(line.substr(1)) + "\r\n";
  return out;
}

const std::string kZhongHeader = "--------中--------字模结构：　16*16　点阵";
const std::string kAHeader = "--------A--------字模结构：　8*16　点阵";

TEST(OutputFormat, A51SourceGivesEachGlyphALabelAndDbLinesWithoutATrailingComma) {
  const TwoGlyphs glyphs;
  const std::string expected =
      ";" + kZhongHeader + "\r\nZI_0:\r\n" +
      "        DB 0E0H,0E1H,0E2H,0E3H,0E4H,0E5H,0E6H,0E7H,0E8H,0E9H,0EAH,0EBH,0ECH,0EDH,0EEH,0EFH\r\n"
      "        DB 0F0H,0F1H,0F2H,0F3H,0F4H,0F5H,0F6H,0F7H,0F8H,0F9H,0FAH,0FBH,0FCH,0FDH,0FEH,0FFH\r\n"
      ";" + kAHeader + "\r\nZI_1:\r\n" +
      "        DB 000H,001H,002H,003H,004H,005H,006H,007H,008H,009H,00AH,00BH,00CH,00DH,00EH,00FH\r\n" +
      credits(";");
  EXPECT_EQ(formatGlyphs(OutputFormat::a51, glyphs.entries, {}), expected);
}

TEST(OutputFormat, SdasSourceHasAnAreaGlobalLabelsAndCHex) {
  const TwoGlyphs glyphs;
  const std::string out = formatGlyphs(OutputFormat::sdas, glyphs.entries, {"HZ", false});
  const std::string start = "        .area CSEG (CODE)\r\n;" + kZhongHeader + "\r\nHZ_0::\r\n        .db 0xE0,0xE1,";
  EXPECT_EQ(out.substr(0, start.size()), start);
  EXPECT_NE(out.find("\r\nHZ_1::\r\n        .db 0x00,0x01,"), std::string::npos);
  EXPECT_NE(out.find(",0x0F\r\n\r\n;"), std::string::npos);
}

TEST(OutputFormat, C51ArraysOnePerGlyph) {
  const TwoGlyphs glyphs;
  const std::string expected =
      "//" + kZhongHeader + "\r\nunsigned char code ZI_0[32] = {\r\n" +
      "    0xE0,0xE1,0xE2,0xE3,0xE4,0xE5,0xE6,0xE7,0xE8,0xE9,0xEA,0xEB,0xEC,0xED,0xEE,0xEF,\r\n"
      "    0xF0,0xF1,0xF2,0xF3,0xF4,0xF5,0xF6,0xF7,0xF8,0xF9,0xFA,0xFB,0xFC,0xFD,0xFE,0xFF\r\n"
      "};\r\n\r\n//" + kAHeader + "\r\nunsigned char code ZI_1[16] = {\r\n" +
      "    0x00,0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08,0x09,0x0A,0x0B,0x0C,0x0D,0x0E,0x0F\r\n"
      "};\r\n" + credits("//");
  EXPECT_EQ(formatGlyphs(OutputFormat::c51, glyphs.entries, {}), expected);
}

TEST(OutputFormat, CTableHoldsEveryGlyphUnderOneName) {
  const TwoGlyphs glyphs;
  const std::string expected =
      "unsigned char __code FONT[48] = {\r\n//" + kZhongHeader + "\r\n" +
      "    0xE0,0xE1,0xE2,0xE3,0xE4,0xE5,0xE6,0xE7,0xE8,0xE9,0xEA,0xEB,0xEC,0xED,0xEE,0xEF,\r\n"
      "    0xF0,0xF1,0xF2,0xF3,0xF4,0xF5,0xF6,0xF7,0xF8,0xF9,0xFA,0xFB,0xFC,0xFD,0xFE,0xFF,\r\n"
      "//" + kAHeader + "\r\n" +
      "    0x00,0x01,0x02,0x03,0x04,0x05,0x06,0x07,0x08,0x09,0x0A,0x0B,0x0C,0x0D,0x0E,0x0F\r\n"
      "};\r\n" + credits("//");
  EXPECT_EQ(formatGlyphs(OutputFormat::sdcc, glyphs.entries, {"FONT", true}), expected);
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t pos = 0; (pos = text.find(from, pos)) != std::string::npos; pos += to.size()) {
    text.replace(pos, from.size(), to);
  }
  return text;
}

struct SpellingCase {
  const char* name;
  OutputFormat format;
  OutputFormat sibling;
  SourceNames names;
  std::string from;
  std::string to;
};

class SiblingFormats : public ::testing::TestWithParam<SpellingCase> {};

// Formats for toolchains that cannot be run here differ from ones that can
// only in how a keyword or directive is spelled.
TEST_P(SiblingFormats, DifferOnlyInOneSpelling) {
  const TwoGlyphs glyphs;
  const auto& row = GetParam();
  const std::string out = formatGlyphs(row.format, glyphs.entries, row.names);
  EXPECT_NE(out.find(row.from), std::string::npos);
  EXPECT_EQ(replaceAll(out, row.from, row.to), formatGlyphs(row.sibling, glyphs.entries, row.names));
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, SiblingFormats,
    ::testing::Values(SpellingCase{"A51AndAs31", OutputFormat::a51, OutputFormat::as31, {}, " DB ", " .db "},
                      SpellingCase{"C51AndSdcc", OutputFormat::c51, OutputFormat::sdcc, {}, " code ", " __code "},
                      SpellingCase{"C51AndSdccTable", OutputFormat::c51, OutputFormat::sdcc, {"T", true}, " code ",
                                   " __code "}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OutputFormat, NoGlyphsGiveOnlyTheCreditsAndNoEmptyArray) {
  EXPECT_EQ(formatGlyphs(OutputFormat::as31, {}, {}), credits(";"));
  EXPECT_EQ(formatGlyphs(OutputFormat::sdcc, {}, {"T", true}), credits("//"));
  EXPECT_EQ(formatGlyphs(OutputFormat::sdas, {}, {}), "        .area CSEG (CODE)\r\n" + credits(";"));
  EXPECT_EQ(formatGlyphs(OutputFormat::bin, {}, {}), "");
}

// What a source holds besides its bytes: the credit lines or none, the comments in UTF-8 or GBK.
struct SourceCase {
  const char* name;
  OutputFormat format;
  SourceOptions source;
  std::string start;  // the first line
  std::string end;    // the last line, after the last glyph's bytes
};

class SourceOptionsTest : public ::testing::TestWithParam<SourceCase> {};

TEST_P(SourceOptionsTest, ShapeTheCommentsAndTheEnd) {
  const TwoGlyphs glyphs;
  const auto& row = GetParam();
  const std::string out = formatGlyphs(row.format, glyphs.entries, {}, row.source);
  EXPECT_EQ(out.substr(0, out.find("\r\n") + 2), row.start);
  const std::size_t lastLine = out.rfind("\r\n", out.size() - 3);
  EXPECT_EQ(out.substr(lastLine + 2), row.end);
  // Only the comments change: the same lines of code in every case.
  const auto code = [](const std::string& text) {
    std::string lines;
    for (std::size_t pos = 0; pos < text.size(); pos = text.find("\r\n", pos) + 2) {
      const std::string line = text.substr(pos, text.find("\r\n", pos) - pos);
      if (!line.empty() && line[0] != ';' && !line.starts_with("//")) lines += line + "\n";
    }
    return lines;
  };
  EXPECT_EQ(code(out), code(formatGlyphs(row.format, glyphs.entries, {})));
}

// 中 is D6 D0 in GBK; 字模结构：　16*16　点阵 D7D6 C4A3 BDE1 B9B9 A3BA A1A1 ... A1A1 B5E3 D5F3.
const std::string kGbkZhongHeader =
    "--------\xD6\xD0--------\xD7\xD6\xC4\xA3\xBD\xE1\xB9\xB9\xA3\xBA\xA1\xA1" "16*16\xA1\xA1\xB5\xE3\xD5\xF3\r\n";
// 本字模由 Lumadot V...
const std::string kGbkCreditStart = "\xB1\xBE\xD7\xD6\xC4\xA3\xD3\xC9 Lumadot V";

INSTANTIATE_TEST_SUITE_P(
    Cases, SourceOptionsTest,
    ::testing::Values(
        SourceCase{"Utf8WithCredits", OutputFormat::a51, {}, ";" + kZhongHeader + "\r\n",
                   utf16ToUtf8(kCreditLines.back()) + "\r\n"},
        SourceCase{"A51WithoutCredits", OutputFormat::a51, {false, SourceEncoding::utf8}, ";" + kZhongHeader + "\r\n",
                   "        DB 000H,001H,002H,003H,004H,005H,006H,007H,008H,009H,00AH,00BH,00CH,00DH,00EH,00FH\r\n"},
        SourceCase{"C51WithoutCredits", OutputFormat::c51, {false, SourceEncoding::utf8}, "//" + kZhongHeader + "\r\n",
                   "};\r\n"},
        SourceCase{"GbkHeader", OutputFormat::as31, {false, SourceEncoding::gbk}, ";" + kGbkZhongHeader,
                   "        .db 000H,001H,002H,003H,004H,005H,006H,007H,008H,009H,00AH,00BH,00CH,00DH,00EH,00FH\r\n"},
        SourceCase{"GbkHeaderInC", OutputFormat::sdcc, {true, SourceEncoding::gbk}, "//" + kGbkZhongHeader,
                   "//\xBD\xBB\xC1\xF7\xC8\xBA\xA3\xBA" "Lumadot "
                   "\xD3\xC3\xBB\xA7\xC8\xBA\xA1\xA2Lumadot \xB5\xE3\xD5\xF3\xC6\xC1\xBF\xAA\xB7\xA2\xC8\xBA\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SourceOptions, GbkCreditsAndRawBytesUntouched) {
  const TwoGlyphs glyphs;
  const std::string gbk = formatGlyphs(OutputFormat::c51, glyphs.entries, {}, {true, SourceEncoding::gbk});
  EXPECT_NE(gbk.find("\r\n\r\n//" + kGbkCreditStart), std::string::npos);
  for (const OutputFormat raw : {OutputFormat::bin, OutputFormat::hex}) {
    EXPECT_EQ(formatGlyphs(raw, glyphs.entries, {}, {false, SourceEncoding::gbk}), formatGlyphs(raw, glyphs.entries, {}));
  }
}

// Code page 936 holds what it can; anything else stays readable as U+XXXX, as a control character in a header does.
TEST(SourceOptions, EncodedTextInGbk) {
  const std::pair<std::string, std::string> rows[] = {
      {"中A", "\xD6\xD0" "A"},       {"丂", "\x81\x40"},        {"€", "\x80"},
      {"😀", "U+1F600"},             {"\u00E9t\u0151", "\xA8\xA6tU+0151"}, {"\xFF", "U+FFFD"},
      {"A\tB\r\n?", "A\tB\r\n?"}, {"", ""},
  };
  for (const auto& [utf8, gbk] : rows) {
    EXPECT_EQ(encodedText(utf8, SourceEncoding::gbk), gbk) << utf8;
    EXPECT_EQ(encodedText(utf8, SourceEncoding::utf8), utf8);
  }
}

TEST(SourceOptions, NamesAsTyped) {
  for (const SourceEncoding encoding : kSourceEncodings) {
    EXPECT_EQ(sourceEncodingNamed(sourceEncodingName(encoding)), encoding);
  }
  EXPECT_EQ(sourceEncodingName(SourceEncoding::gbk), "gbk");
  EXPECT_EQ(sourceEncodingNamed("GBK"), SourceEncoding::gbk);
  EXPECT_EQ(sourceEncodingNamed("UTF8"), SourceEncoding::utf8);
  for (const auto name : {"gb2312", "utf-16", "cp936", ""}) EXPECT_EQ(sourceEncodingNamed(name), std::nullopt) << name;
}

TEST(OutputFormat, BinIsTheBytesInOrder) {
  const TwoGlyphs glyphs;
  EXPECT_EQ(formatGlyphs(OutputFormat::bin, glyphs.entries, {}),
            std::string(reinterpret_cast<const char*>(glyphs.bytes.data()), glyphs.bytes.size()));
}

TEST(EntryHeaderComment, CharactersThatWouldBreakTheCommentLineAreWrittenAsCodes) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"A", "A"},           {u"中", "中"},          {u" ", " "},           {u"😀", "😀"},
      {u"\n", "U+000A"},     {u"\t", "U+0009"},     {std::u16string(1, u'\0'), "U+0000"},
      {u"\x7F", "U+007F"},   {u"\x85", "U+0085"},   {u"\u2028", "U+2028"}, {u"\u2029", "U+2029"},
      {u"", ""},  // past the end of the text
  };
  for (const auto& [character, shown] : cases) {
    EXPECT_EQ(entryHeaderComment({character, false, {}}), "--------" + shown + "--------字模结构：　8*16　点阵")
        << shown;
  }
}

// The format a name stands for, found by formatName as the command line's choices are.
std::optional<OutputFormat> formatCalled(std::string_view name) {
  using enum OutputFormat;
  for (const OutputFormat format : {listing, a51, as31, sdas, c51, sdcc, bin, hex}) {
    if (formatName(format) == name) return format;
  }
  return std::nullopt;
}

TEST(OutputFormat, NamesRoundTripAndAreExact) {
  for (const auto name : {"listing", "a51", "as31", "sdas", "c51", "sdcc", "bin", "hex"}) {
    const auto format = formatCalled(name);
    ASSERT_TRUE(format) << name;
    EXPECT_EQ(formatName(*format), name);
    EXPECT_NE(formatNameList().find(name), std::string_view::npos);
  }
  for (const auto name : {"", "LISTING", "A51", "hex ", "ihex", "c"}) EXPECT_FALSE(formatCalled(name)) << name;
}

TEST(CheckPrefix, AcceptsOnlyNamesEveryToolchainTakes) {
  for (const auto good : {"ZI", "_ZI", "hz16", "a", "ABCDEFGHIJKLMNOPQRSTUVWX"}) EXPECT_TRUE(checkPrefix(good)) << good;
  for (const auto bad : {"", "1ZI", "ZI-16", "Z I", "字", "ZI$", "ABCDEFGHIJKLMNOPQRSTUVWXY"}) {
    EXPECT_FALSE(checkPrefix(bad)) << bad;
  }
}

}  // namespace
}  // namespace lumadot
