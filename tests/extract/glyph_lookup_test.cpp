#include "extract/glyph_lookup.h"

#include <gtest/gtest.h>

#include <vector>

#include "extract/ansi_code.h"
#include "extract/font_location.h"
#include "extract/text_codec.h"
#include "extract/undrawn_characters.h"
#include "support/named_rows.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::offsetBytes;

constexpr std::int16_t doubleByte(int lead, int trail) { return static_cast<std::int16_t>(lead * 256 + trail - 65536); }

std::vector<std::uint8_t> appended(const GlyphBuffer& buffer, std::int32_t from) {
  return {buffer.glyphBytes.begin() + from, buffer.glyphBytes.begin() + buffer.fillCount};
}

// The 8*16 order: even offsets (left halves), then odd ones (right halves).
std::vector<std::uint8_t> split(const std::vector<std::uint8_t>& g) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < g.size(); i += 2) out.push_back(g[i]);
  for (std::size_t i = 1; i < g.size(); i += 2) out.push_back(g[i]);
  return out;
}

constexpr ByteLayout kSplit{Scan::rowBands, false, false};

class GlyphLookup : public ::testing::Test {
 protected:
  test::TempDir dir;
  FontPaths paths = test::writeSyntheticFonts(dir.path());
  FontFile asc16{paths.asc16, kAsc16Size};
  FontFile hzk16{paths.hzk16, kHzk16Size};
  GlyphBuffer buffer;
};

TEST_F(GlyphLookup, EnglishReadsSixteenBytesAtSixteenTimesTheCode) {
  for (const int code : {0, 9, 10, 32, 65, 127, 128, 255}) {
    const std::int32_t before = buffer.fillCount;
    ASSERT_TRUE(english(buffer, asc16, static_cast<std::uint8_t>(code)));
    EXPECT_EQ(buffer.fillCount, before + 16);
    EXPECT_EQ(appended(buffer, before), offsetBytes(16u * code, 16, kAsc16Size)) << "code " << code;
  }
}

struct CellCase {
  const char* name;
  std::int16_t code;
  std::uint64_t offset;
};

class HzdzCells : public GlyphLookup, public ::testing::WithParamInterface<CellCase> {};

TEST_P(HzdzCells, ReadsTheCellInFileOrderOrLeftHalvesFirst) {
  const auto expected = offsetBytes(GetParam().offset, 32, kHzk16Size);
  ASSERT_TRUE(hzdz(buffer, hzk16, GetParam().code));
  EXPECT_EQ(appended(buffer, 0), expected);
  ASSERT_TRUE(hzdz(buffer, hzk16, GetParam().code, kSplit));
  EXPECT_EQ(appended(buffer, 32), split(expected));
  EXPECT_EQ(buffer.fillCount, 64);
}

INSTANTIATE_TEST_SUITE_P(Cells, HzdzCells,
                         ::testing::Values(CellCase{"Ah_B0A1", doubleByte(0xB0, 0xA1), 45120},
                                           CellCase{"FirstCell_A1A1", doubleByte(0xA1, 0xA1), 0},
                                           CellCase{"LastCell_FEFE", doubleByte(0xFE, 0xFE), 282720},
                                           CellCase{"Zhong_D6D0", doubleByte(0xD6, 0xD0), 32u * (53 * 94 + 47)},
                                           CellCase{"RowEnd_A1FE", doubleByte(0xA1, 0xFE), 32u * 93},
                                           CellCase{"RowStart_A2A1", doubleByte(0xA2, 0xA1), 32u * 94}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(GlyphLookup, CodesOutsideTheGridGiveZerosWithoutReading) {
  // Lead or trail byte below 0xA1 names no cell; a file that cannot be read
  // proves no read is attempted.
  FontFile missing(dir.path() / "no-such-hzk16", kHzk16Size);
  for (const auto code : {doubleByte(0x81, 0x47), doubleByte(0xA9, 0x96), doubleByte(0xB0, 0x40),
                          doubleByte(0xA1, 0x40), doubleByte(0xFE, 0xA0), doubleByte(0xA0, 0xA1)}) {
    const std::int32_t before = buffer.fillCount;
    ASSERT_TRUE(hzdz(buffer, missing, code)) << code;
    EXPECT_EQ(appended(buffer, before), std::vector<std::uint8_t>(32, 0)) << code;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "no-such-hzk16"));
}

TEST_F(GlyphLookup, ShortFilesGiveZerosPastTheirEnd) {
  test::TempDir shortDir;
  const FontPaths shortFonts = test::writeSyntheticFonts(shortDir.path(), 1000, 45120 + 10);
  FontFile shortAsc16(shortFonts.asc16, kAsc16Size);
  FontFile shortHzk16(shortFonts.hzk16, kHzk16Size);
  ASSERT_TRUE(english(buffer, shortAsc16, 'A'));  // offsets 1040.. lie past 1000 bytes
  EXPECT_EQ(appended(buffer, 0), std::vector<std::uint8_t>(16, 0));
  ASSERT_TRUE(english(buffer, shortAsc16, 62));  // 992..1007 straddles the end
  EXPECT_EQ(appended(buffer, 16), offsetBytes(992, 16, 1000));
  ASSERT_TRUE(hzdz(buffer, shortHzk16, doubleByte(0xB0, 0xA1)));
  EXPECT_EQ(appended(buffer, 32), offsetBytes(45120, 32, 45130));
}

TEST_F(GlyphLookup, MissingOrUnreadableFontFailsAndCreatesNothing) {
  FontFile missing(dir.path() / "absent" / "asc16", kAsc16Size);
  const auto missed = english(buffer, missing, 'A');
  ASSERT_FALSE(missed);
  EXPECT_EQ(missed.error().text, "无法打开字库文件“" + missing.path().string() + "”：文件不存在");
  EXPECT_EQ(buffer.fillCount, 0);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "absent"));

  FontFile searched(dir.path() / "bin" / "asc16", kAsc16Size, {dir.path() / "bin", dir.path() / "share"});
  EXPECT_EQ(english(buffer, searched, 'A').error().text,
            "找不到字库文件“asc16”，找过：“" + (dir.path() / "bin").string() + "”、“" + (dir.path() / "share").string() + "”");

  FontFile directory(dir.path(), kHzk16Size);  // opens on Linux, but reading fails
  const auto unread = hzdz(buffer, directory, doubleByte(0xB0, 0xA1));
  ASSERT_FALSE(unread);
  EXPECT_NE(unread.error().text.find("这是一个文件夹"), std::string::npos) << unread.error().text;
  EXPECT_EQ(buffer.fillCount, 0);
}

struct LocateCase {
  const char* name;
  std::vector<const char*> files;  // under a prefix whose programs are in bin/
  const char* chosen;              // --font-dir, under the prefix
  const char* expected;            // the folder the fonts are taken from
  bool searched;                   // whether the places looked in are named
};

class LocateFonts : public testing::TestWithParam<LocateCase> {};

TEST_P(LocateFonts, TakesTheFirstFolderHoldingBoth) {
  const LocateCase& row = GetParam();
  test::TempDir prefix;
  std::filesystem::create_directories(prefix.path() / "bin");
  for (const char* file : row.files) {
    std::filesystem::create_directories((prefix.path() / file).parent_path());
    test::writeFile(prefix.path() / file, "x");
  }
  const FontPaths fonts = locateFonts(*row.chosen ? prefix.path() / row.chosen : "", prefix.path() / "bin");
  EXPECT_EQ(fonts.asc16, prefix.path() / row.expected / "asc16");
  EXPECT_EQ(fonts.hzk16, prefix.path() / row.expected / "hzk16");
  const std::vector<std::filesystem::path> looked{prefix.path() / "bin", prefix.path() / "share" / "lumadot"};
  EXPECT_EQ(fonts.lookedIn, row.searched ? looked : std::vector<std::filesystem::path>{});
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LocateFonts,
    testing::Values(LocateCase{"BesideTheProgram", {"bin/asc16", "bin/hzk16", "share/lumadot/asc16"}, "", "bin", false},
                    LocateCase{"Installed", {"share/lumadot/asc16", "share/lumadot/hzk16"}, "", "share/lumadot", false},
                    LocateCase{"HalfBesideWholeInstalled",
                               {"bin/hzk16", "share/lumadot/asc16", "share/lumadot/hzk16"}, "", "share/lumadot", false},
                    LocateCase{"NowhereWhole", {"bin/asc16", "share/lumadot/hzk16"}, "", "bin", true},
                    LocateCase{"FolderInsteadOfFile", {"bin/asc16/x", "bin/hzk16"}, "", "bin", true},
                    LocateCase{"ChosenEvenIfEmpty", {"bin/asc16", "bin/hzk16"}, "mine", "mine", false}),
    [](const auto& row) { return std::string(row.param.name); });

// The sizes a window can offer: both files there, each whole.
TEST(BuiltFonts, ListsEachSizeWithBothFilesWhole) {
  test::TempDir dir;
  const auto put = [&](const std::string& name, std::size_t size) { test::writeFile(dir.path() / name, std::string(size, '\x55')); };
  const CellSize c24{24, 24}, c24x16{24, 16}, c32{32, 32}, c12{12, 12};
  put("gbk16", doubleByteFileSize({}, Charset::gbk));
  put("hzk24", doubleByteFileSize(c24, Charset::gb2312));
  put("asc24", singleByteFileSize(c24));
  put("hzk16", kHzk16Size);
  put("asc16", kAsc16Size);
  put("hzk24x16", doubleByteFileSize(c24x16, Charset::gb2312));
  put("asc24x16", singleByteFileSize(c24x16));
  put("hzk32", doubleByteFileSize(c32, Charset::gb2312) - 1);  // cut short
  put("asc32", singleByteFileSize(c32));
  put("hzk12", doubleByteFileSize(c12, Charset::gb2312));  // no asc12
  put("hzk016", kHzk16Size);                               // not a name the programs give
  const std::vector<BuiltFont> expected{
      {{}, Charset::gb2312}, {{}, Charset::gbk}, {c24x16, Charset::gb2312}, {c24, Charset::gb2312}};
  EXPECT_EQ(builtFonts(dir.path()), expected);
  EXPECT_TRUE(builtFonts(dir.path() / "absent").empty());
}

TEST_F(GlyphLookup, FullBufferFailsAtTheFirstByteThatDoesNotFit) {
  buffer.fillCount = GlyphBuffer::kCapacity;
  const std::string tooLong = "文字太长：一次最多能取模4096个单字节字符或2048个双字节字符";
  EXPECT_EQ(english(buffer, asc16, 'A').error().text, tooLong);
  EXPECT_EQ(hzdz(buffer, hzk16, doubleByte(0xB0, 0xA1)).error().text, tooLong);
  EXPECT_EQ(buffer.fillCount, GlyphBuffer::kCapacity);

  buffer.fillCount = GlyphBuffer::kCapacity - 16;
  EXPECT_TRUE(english(buffer, asc16, 'A'));
  EXPECT_EQ(appended(buffer, GlyphBuffer::kCapacity - 16), offsetBytes(1040, 16, kAsc16Size));

  buffer.fillCount = GlyphBuffer::kCapacity - 16;
  EXPECT_EQ(hzdz(buffer, hzk16, doubleByte(0xB0, 0xA1), kSplit).error().text, tooLong);
  EXPECT_EQ(buffer.fillCount, GlyphBuffer::kCapacity);
  const auto leftHalf = split(offsetBytes(45120, 32, kHzk16Size));
  EXPECT_EQ(appended(buffer, GlyphBuffer::kCapacity - 16),
            std::vector<std::uint8_t>(leftHalf.begin(), leftHalf.begin() + 16));
}

TEST_F(GlyphLookup, EveryByteValueArrivesUnchanged) {
  test::TempDir allDir;
  std::string bytes(kAsc16Size, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 256);
  test::writeFile(allDir.path() / "asc16", bytes);
  FontFile all(allDir.path() / "asc16", kAsc16Size);
  for (int code = 0; code < 16; ++code) ASSERT_TRUE(english(buffer, all, static_cast<std::uint8_t>(code)));
  for (int i = 0; i < 256; ++i) EXPECT_EQ(buffer.glyphBytes[static_cast<std::size_t>(i)], i);
}

// Which characters a run cannot draw as typed, and why: each once, in text order.
TEST(UndrawnCharacters, NameEachCharacterOnceWithItsReason) {
  struct Row {
    std::u16string_view text;
    FontSizes sizes;
    std::vector<std::pair<std::u16string_view, Undrawn>> undrawn;
  };
  const FontSizes whole;
  const Row rows[] = {
      {u"中A?", whole, {}},
      {u"😀A😀✓", whole, {{u"😀", Undrawn::questionMark}, {u"✓", Undrawn::questionMark}}},
      {u"丂中丂", whole, {{u"丂", Undrawn::outsideGrid}}},
      {u"\xFFFD", whole, {{u"\xFFFD", Undrawn::questionMark}}},  // bytes that were not UTF-8
      {u"A\r\n", {.asc16 = 0}, {{u"A", Undrawn::pastAsc16End}}},  // the line break gets no glyph
      // The last byte of glyph 5 is byte 95: a 95-byte file cuts it short, a 96-byte one does not.
      {u"\x05", {.asc16 = 95}, {{u"\x05", Undrawn::pastAsc16End}}},
      {u"\x05", {.asc16 = 96}, {}},
      // 啊 (B0A1) is cell 15 * 94 = 1410; 中 comes later.
      {u"啊中", {.hzk16 = 1411 * 32}, {{u"中", Undrawn::pastHzk16End}}},
      {u"啊中", {.hzk16 = 1411 * 32 - 1}, {{u"啊", Undrawn::pastHzk16End}, {u"中", Undrawn::pastHzk16End}}},
      {u"😀", {.asc16 = 0}, {{u"😀", Undrawn::questionMark}}},
  };
  for (const Row& row : rows) {
    std::vector<std::pair<std::u16string_view, Undrawn>> found;
    for (const auto& c : undrawnCharacters(row.text, row.sizes)) found.emplace_back(c.character, c.why);
    EXPECT_EQ(found, row.undrawn) << utf16ToUtf8(row.text);
  }
}

TEST(UndrawnCharacters, FontSizesAreReadFromTheFilesAndCappedAtTheLayout) {
  test::TempDir dir;
  test::writeFile(dir.path() / "asc16", std::string(100, '\0'));
  test::writeFile(dir.path() / "hzk16", std::string(kHzk16Size + 7, '\0'));
  const FontSizes sizes = fontSizes(FontPaths::inDirectory(dir.path()));
  EXPECT_EQ(sizes.asc16, 100u);
  EXPECT_EQ(sizes.hzk16, kHzk16Size);
  EXPECT_EQ(fontSizes(FontPaths::inDirectory(dir.path() / "missing")).asc16, kAsc16Size);  // the run warns itself
}

}  // namespace
}  // namespace lumadot
