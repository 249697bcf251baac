#include "extract/text_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <variant>

#include "extract/text_encoding.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

class Utf8ToUtf16 : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToUtf16, DecodesAndReplacesBadBytes) { EXPECT_EQ(utf8ToUtf16(GetParam().utf8), GetParam().utf16); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8ToUtf16,
    ::testing::Values(Utf8Case{"Empty", "", u""}, Utf8Case{"Ascii", "A\r\nB", u"A\r\nB"},
                      Utf8Case{"Nul", std::string("A\0B", 3), std::u16string(u"A\0B", 3)},
                      Utf8Case{"Chinese", "中A", u"中A"}, Utf8Case{"Emoji", "😀", u"\U0001F600"},
                      Utf8Case{"LoneContinuation", "\x80" "A", u"\uFFFDA"},
                      Utf8Case{"TruncatedAtEnd", "A\xE4\xB8", u"A\uFFFD\uFFFD"},
                      Utf8Case{"Overlong", "\xC0\xAF", u"\uFFFD\uFFFD"},
                      Utf8Case{"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                      Utf8Case{"BeyondUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      Utf8Case{"Latin1Byte", "caf\xE9!", u"caf\uFFFD!"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Utf16ToUtf8, RoundTripsAndReplacesLoneSurrogates) {
  EXPECT_EQ(utf16ToUtf8(u"中A\r\n\U0001F600"), "中A\r\n😀");
  EXPECT_EQ(utf16ToUtf8(std::u16string{u'A', char16_t(0xD800), u'B'}), "A\xEF\xBF\xBD" "B");
  EXPECT_EQ(utf16ToUtf8(std::u16string{char16_t(0xDC00)}), "\xEF\xBF\xBD");
}

TEST(Characters, SurrogatePairIsOneCharacter) {
  const std::u16string text = u"A\U0001F600中";
  EXPECT_EQ(characterLength(text, 0), 1u);
  EXPECT_EQ(characterLength(text, 1), 2u);
  EXPECT_EQ(characterAt(text, 1), U'\U0001F600');
  EXPECT_EQ(characterAt(text, 3), U'中');
  const std::u16string loneHigh{char16_t(0xD83D)};  // cut off at the end of the text
  EXPECT_EQ(characterLength(loneHigh, 0), 1u);
  EXPECT_EQ(characterAt(loneHigh, 0), char32_t{0xD83D});
}


struct DecodeCase {
  const char* name;
  std::string bytes;
  std::optional<TextEncoding> encoding;
  std::variant<std::string, DecodeFailure> decoded;
};

class DecodeText : public ::testing::TestWithParam<DecodeCase> {};

// Offsets count from the file's first byte, its byte order mark included.
TEST_P(DecodeText, ReadsOrNamesTheFirstBadByte) {
  const auto decoded = decodeText(GetParam().bytes, GetParam().encoding);
  if (const auto* failure = std::get_if<DecodeFailure>(&GetParam().decoded)) {
    ASSERT_TRUE(std::holds_alternative<DecodeFailure>(decoded));
    const auto& got = std::get<DecodeFailure>(decoded);
    EXPECT_EQ(got.offset, failure->offset);
    EXPECT_EQ(got.byte, failure->byte);
    EXPECT_EQ(got.encoding, failure->encoding);
    EXPECT_EQ(got.likely, failure->likely);
    EXPECT_EQ(got.nul, failure->nul);
  } else {
    ASSERT_TRUE(std::holds_alternative<std::string>(decoded));
    EXPECT_EQ(std::get<std::string>(decoded), std::get<std::string>(GetParam().decoded));
  }
}

using E = TextEncoding;
INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeText,
    ::testing::Values(
        DecodeCase{"Empty", "", std::nullopt, std::string()},
        // No typed text holds a NUL: in a file it is UTF-16 read as something else, in the order its NULs say.
        DecodeCase{"NulIsNoText", std::string("A\0B", 3), std::nullopt, DecodeFailure{1, 0x00, E::utf8, {}, true}},
        DecodeCase{"Utf16LeWithoutMark", std::string("\x2D\x4E\x41\x00", 4), std::nullopt,
                   DecodeFailure{3, 0x00, E::utf8, E::utf16le, true}},
        DecodeCase{"Utf16BeWithoutMark", std::string("\x4E\x2D\x00\x41", 4), std::nullopt,
                   DecodeFailure{2, 0x00, E::utf8, E::utf16be, true}},
        DecodeCase{"Utf16NotValidUtf8", std::string("\x2D\x4E\x87\x65\x41\x00", 6), std::nullopt,
                   DecodeFailure{2, 0x87, E::utf8, E::utf16le, false}},
        DecodeCase{"NulInUtf16", std::string("\xFF\xFE\x41\x00\x00\x00", 6), std::nullopt,
                   DecodeFailure{4, 0x00, E::utf16le, {}, true}},
        DecodeCase{"NulUnitAfterANulByte", std::string("\x00\x41\x00\x00", 4), E::utf16,
                   DecodeFailure{2, 0x00, E::utf16, {}, true}},
        DecodeCase{"NulInGbk", std::string("\xD6\xD0\x00", 3), E::gbk, DecodeFailure{2, 0x00, E::gbk, {}, true}},
        DecodeCase{"Utf8MarkDropped", "\xEF\xBB\xBF" "A", std::nullopt, std::string("A")},
        DecodeCase{"MarkOnlyAtTheStart", "A\xEF\xBB\xBF", std::nullopt, std::string("A\xEF\xBB\xBF")},
        DecodeCase{"Utf16BeMarkWhenUtf16Asked", std::string("\xFE\xFF\x00\x41", 4), E::utf16, std::string("A")},
        DecodeCase{"Utf16LeAskedKeepsAForeignMark", std::string("\xFE\xFF\x41\x00", 4), E::utf16le,
                   std::string("\xEF\xBF\xBE" "A")},  // U+FFFE: the mark read the other way round
        DecodeCase{"EncodedSurrogate", "A\xED\xA0\x80", std::nullopt, DecodeFailure{1, 0xED, E::utf8, E::gbk}},
        DecodeCase{"BeyondUnicode", "A\n\xF4\xA1\xA1\x80", std::nullopt, DecodeFailure{2, 0xF4, E::utf8, {}}},
        DecodeCase{"OffsetCountsTheMark", "\xEF\xBB\xBF" "AB\xFF", std::nullopt, DecodeFailure{5, 0xFF, E::utf8, {}}},
        DecodeCase{"OddUtf16Length", std::string("\xFF\xFE\x41\x00\x42", 5), std::nullopt,
                   DecodeFailure{4, 0x42, E::utf16le, {}}},
        DecodeCase{"LoneUtf16Surrogate", std::string("\x00\xD8\x41\x00", 4), E::utf16,
                   DecodeFailure{0, 0x00, E::utf16, {}}},
        DecodeCase{"Gb2312CutOff", "\xD6\xD0\xCE", E::gb2312, DecodeFailure{2, 0xCE, E::gb2312, {}}},
        DecodeCase{"GbkLikely", "\xA4\xA4\x41\x87\x40", std::nullopt, DecodeFailure{0, 0xA4, E::utf8, E::gbk}},
        DecodeCase{"Utf16PairLe", std::string("\x3D\xD8\x00\xDE", 4), E::utf16le, std::string("\U0001F600")},
        DecodeCase{"Utf16PairBe", std::string("\xD8\x3D\xDE\x00", 4), E::utf16be, std::string("\U0001F600")},
        DecodeCase{"Utf16HighSurrogateCutOff", std::string("\x41\x00\x3D\xD8", 4), E::utf16le,
                   DecodeFailure{2, 0x3D, E::utf16le, {}}},
        DecodeCase{"Utf16HighSurrogateThenLetter", std::string("\xD8\x3D\x00\x41", 4), E::utf16be,
                   DecodeFailure{0, 0xD8, E::utf16be, {}}},
        // glibc's GBK, GB2312 and Big5 leave out the user-defined codes that Windows puts in the private use area.
        DecodeCase{"GbkUserDefined", "A\xA1\x40", E::gbk, DecodeFailure{1, 0xA1, E::gbk, {}}},
        DecodeCase{"Big5UserDefined", "\x81\x40", E::big5, DecodeFailure{0, 0x81, E::big5, {}}},
        DecodeCase{"Big5KanaInPrivateUse", "\xC6\xA1", E::big5, std::string("\uF6B1")},
        DecodeCase{"GbkEuroAlone", "\x80", E::gbk, std::string("€")},
        DecodeCase{"Gb18030NoSingleEuro", "\x80", E::gb18030, DecodeFailure{0, 0x80, E::gb18030, {}}},
        DecodeCase{"Gb2312NotGbk", "\xB0\xA1\x81\x40", E::gb2312, DecodeFailure{2, 0x81, E::gb2312, {}}},
        DecodeCase{"Gb2312EmptyCell", "\xA2\xA1", E::gb2312, DecodeFailure{0, 0xA2, E::gb2312, {}}},
        DecodeCase{"Gb2312MiddleDot", "\xA1\xA4\xA1\xAA", E::gb2312, std::string("・―")},
        DecodeCase{"GbkMiddleDot", "\xA1\xA4\xA1\xAA", E::gbk, std::string("·—")},
        DecodeCase{"Gb18030Euro", "\xA2\xE3", E::gb18030, std::string("€")},
        DecodeCase{"Gb18030Supplementary", "\xFE\x51", E::gb18030, std::string("\U00020087")},
        DecodeCase{"Gb18030FirstFourByte", "\x81\x30\x81\x30", E::gb18030, std::string("\u0080")},
        DecodeCase{"Gb18030LastInTheBasicPlane", "\x84\x31\xA4\x39", E::gb18030, std::string("\uFFFF")},
        DecodeCase{"Gb18030PastTheBasicPlane", "\x84\x31\xA5\x30", E::gb18030, DecodeFailure{0, 0x84, E::gb18030, {}}},
        DecodeCase{"Gb18030NowDoubleByte", "A\x82\x35\x90\x37", E::gb18030, DecodeFailure{1, 0x82, E::gb18030, {}}},
        DecodeCase{"Gb18030Planes", "\x90\x30\x81\x30\xE3\x32\x9A\x35", E::gb18030,
                   std::string("\U00010000\U0010FFFF")},
        DecodeCase{"Gb18030PastUnicode", "\xE3\x32\x9A\x36", E::gb18030, DecodeFailure{0, 0xE3, E::gb18030, {}}},
        DecodeCase{"Gb18030FourByteCutOff", "A\x81\x30\x81", E::gb18030, DecodeFailure{1, 0x81, E::gb18030, {}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(EncodingNames, TypedAsUsersTypeThem) {
  for (const TextEncoding encoding : kTextEncodings) EXPECT_EQ(encodingNamed(encodingName(encoding)), encoding);
  EXPECT_EQ(encodingNamed("UTF8"), E::utf8);
  EXPECT_EQ(encodingNamed("utf_16LE"), E::utf16le);
  EXPECT_EQ(encodingNamed("GBK"), E::gbk);
  EXPECT_EQ(encodingNamed("latin1"), std::nullopt);
  EXPECT_EQ(encodingNamed(""), std::nullopt);
}

}  // namespace
}  // namespace lumadot
