#include "extract/listing.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/glyphs_of.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

const std::u16string kCredits = std::u16string(u"\r\n\r\n") + std::u16string(kCreditLines[0]) + u"\r\n" +
                                std::u16string(kCreditLines[1]) + u"\r\n" + std::u16string(kCreditLines[2]) +
                                u"\r\n" + std::u16string(kCreditLines[3]);

std::u16string byteText(std::uint8_t v) {
  std::u16string s;
  appendByteText(s, v);
  return s;
}

// Glyphs of `text` with bytes 0, 1, 2, ... so every data line's bytes are known.
Glyphs counting(std::u16string_view text, std::size_t count) {
  return test::glyphsOf(text, test::countingBytes(count));
}

std::u16string dataLine(int first) {
  std::u16string line;
  for (int i = first; i < first + 16; ++i) line += byteText(static_cast<std::uint8_t>(i));
  return line;
}

std::u16string singleHeader(std::u16string_view c) {
  return u"\r\n;--------" + std::u16string(c) + u"--------字模结构：　8*16　点阵\r\nDB  ";
}
std::u16string doubleHeader(std::u16string_view c) {
  return u"\r\n;--------" + std::u16string(c) + u"--------字模结构：　16*16　点阵\r\nDB  ";
}

TEST(ByteText, UppercaseHexWithoutLeadingZeros) {
  const std::pair<int, std::u16string_view> cases[] = {{0, u"0H,"},    {8, u"8H,"},    {10, u"AH,"},
                                                       {15, u"FH,"},   {16, u"10H,"},  {165, u"A5H,"},
                                                       {240, u"F0H,"}, {255, u"FFH,"}, {0xF8, u"F8H,"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(byteText(static_cast<std::uint8_t>(value)), text) << value;
}

struct ListingCase {
  const char* name;
  std::u16string input;
  std::int32_t bytes;
  std::u16string expected;
};

class Listing : public ::testing::TestWithParam<ListingCase> {};

TEST_P(Listing, WritesOneEntryPerGlyph) {
  const Glyphs glyphs = counting(GetParam().input, static_cast<std::size_t>(GetParam().bytes));
  EXPECT_EQ(listingEntries(glyphs), GetParam().expected);
  EXPECT_EQ(listing(glyphs), GetParam().expected + kCredits);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, Listing,
    ::testing::Values(
        ListingCase{"Empty", u"", 0, u""},
        ListingCase{"SingleByte", u"A", 16, singleHeader(u"A") + dataLine(0)},
        ListingCase{"DoubleByte", u"中", 32, doubleHeader(u"中") + dataLine(0) + u"\r\n" + dataLine(16)},
        ListingCase{"Mixed", u"A中B", 64,
                    singleHeader(u"A") + dataLine(0) + doubleHeader(u"中") + dataLine(16) + u"\r\n" + dataLine(32) +
                        singleHeader(u"B") + dataLine(48)},
        ListingCase{"LineBreakSkipped", u"A\r\nB", 32, singleHeader(u"A") + dataLine(0) + singleHeader(u"B") + dataLine(16)},
        ListingCase{"SpaceLineFeedTab", u" \n\t", 48,
                    singleHeader(u" ") + dataLine(0) + singleHeader(u"\n") + dataLine(16) + singleHeader(u"\t") +
                        dataLine(32)},
        ListingCase{"EmojiKeepsItsCharacter", u"\U0001F600", 16, singleHeader(u"\U0001F600") + dataLine(0)},
        ListingCase{"OutsideGridIsDoubleByte", u"丟", 32, doubleHeader(u"丟") + dataLine(0) + u"\r\n" + dataLine(16)}),
    [](const auto& row) { return std::string(row.param.name); });

// Another size names itself in the header; every data line still holds 16
// bytes, only a glyph's first one with "DB  ".
TEST(Listing, NamesTheSizeAndKeepsSixteenBytesALine) {
  const auto lines = [](int first, int count) {
    std::u16string text;
    for (int i = 0; i < count; ++i) {
      if (i > 0 && i % 16 == 0) text += u"\r\n";
      text += byteText(static_cast<std::uint8_t>(first + i));
    }
    return text;
  };
  const auto header = [](std::u16string_view c, std::u16string_view size) {
    return u"\r\n;--------" + std::u16string(c) + u"--------字模结构：　" + std::u16string(size) + u"　点阵\r\nDB  ";
  };
  const std::tuple<const char*, std::size_t, std::u16string> cases[] = {
      {"24", 72 + 48, header(u"中", u"24*24") + lines(0, 72) + header(u"A", u"12*24") + lines(72, 48)},
      {"12", 24 + 12, header(u"中", u"12*12") + lines(0, 24) + header(u"A", u"6*12") + lines(24, 12)},
      {"24x16", 48 + 32, header(u"中", u"24*16") + lines(0, 48) + header(u"A", u"12*16") + lines(48, 32)},
  };
  for (const auto& [size, count, expected] : cases) {
    const Glyphs glyphs = test::glyphsOf(u"中A", test::countingBytes(count), *CellSize::named(size));
    EXPECT_EQ(listingEntries(glyphs), expected) << size;
  }
}

TEST(Listing, BeforeByteKStopsJustBeforeThatBytesOwnText) {
  const Glyphs glyphs = counting(u"中A", 48);
  const std::u16string full = doubleHeader(u"中") + dataLine(0) + u"\r\n" + dataLine(16) + singleHeader(u"A") + dataLine(32);
  // What a send that fails at byte k leaves listed: exactly the text before byte k's own text.
  const std::pair<std::size_t, std::u16string> cases[] = {
      {0, doubleHeader(u"中")},
      {5, doubleHeader(u"中") + u"0H,1H,2H,3H,4H,"},
      {16, doubleHeader(u"中") + dataLine(0) + u"\r\n"},
      {32, doubleHeader(u"中") + dataLine(0) + u"\r\n" + dataLine(16) + singleHeader(u"A")},
      {48, full},
      {1000, full},
  };
  for (const auto& [byte, expected] : cases) EXPECT_EQ(listingBefore(glyphs, byte), expected) << "byte " << byte;
  EXPECT_EQ(listingEntries(glyphs), full);
}

TEST(CreditBlock, FollowsAfterOneEmptyLineWithNoBreakAtTheEnd) {
  std::u16string text = singleHeader(u"A") + dataLine(0);
  appendCreditBlock(text);
  EXPECT_EQ(text, singleHeader(u"A") + dataLine(0) + kCredits);
  std::u16string empty;
  appendCreditBlock(empty);
  EXPECT_EQ(empty, kCredits);
  for (const auto line : kCreditLines) {
    ASSERT_FALSE(line.empty());
    EXPECT_EQ(line.front(), u';');
    EXPECT_EQ(line.find(u'\n'), std::u16string_view::npos);
  }
}

}  // namespace
}  // namespace lumadot
