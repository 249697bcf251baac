#include "extract/text_codec.h"

#include <gtest/gtest.h>

namespace lumadot {
namespace {

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

}  // namespace
}  // namespace lumadot
