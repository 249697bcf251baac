#include "extract/ansi_code.h"

#include <gtest/gtest.h>

#include "extract/character_walk.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

constexpr std::int16_t doubleByte(int lead, int trail) { return static_cast<std::int16_t>(lead * 256 + trail - 65536); }

struct CodeCase {
  const char* name;
  char32_t ch;
  std::int16_t code;
};

class AnsiCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(AnsiCode, MatchesCodePage936) { EXPECT_EQ(ansiCode(GetParam().ch), GetParam().code); }

INSTANTIATE_TEST_SUITE_P(
    Cases, AnsiCode,
    ::testing::Values(CodeCase{"Nul", U'\0', 0}, CodeCase{"Tab", U'\t', 9}, CodeCase{"LineFeed", U'\n', 10},
                      CodeCase{"CarriageReturn", U'\r', 13}, CodeCase{"LetterA", U'A', 65},
                      CodeCase{"Delete", U'\x7F', 127}, CodeCase{"Euro", U'€', 128},
                      CodeCase{"Zhong", U'中', doubleByte(0xD6, 0xD0)}, CodeCase{"Ah", U'啊', doubleByte(0xB0, 0xA1)},
                      CodeCase{"IdeographicSpace", U'\u3000', doubleByte(0xA1, 0xA1)},
                      CodeCase{"FullwidthColon", U'：', doubleByte(0xA3, 0xBA)},
                      CodeCase{"GbkOnlyDiu", U'丟', doubleByte(0x81, 0x47)},
                      CodeCase{"GbkOnlyLing", U'〇', doubleByte(0xA9, 0x96)},
                      CodeCase{"NotInCodePageHangul", U'한', 63}, CodeCase{"Emoji", U'\U0001F600', 63},
                      CodeCase{"ReplacementCharacter", U'\uFFFD', 63},
                      CodeCase{"LoneSurrogate", char32_t{0xD800}, 63},
                      // Windows' user-defined characters and best fits, which glibc has no code for
                      CodeCase{"PrivateUse", char32_t{0xE000}, 63}, CodeCase{"PrivateUseFEA0", char32_t{0xE864}, 63},
                      CodeCase{"PrivateUseByteFF", char32_t{0xF8F5}, 63},
                      CodeCase{"BestFitOrdinal", U'ª', 63}, CodeCase{"BestFitSuperscript", U'²', 63}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FromAnsiBytes, DecodesSingleAndDoubleBytes) {
  EXPECT_EQ(fromAnsiBytes("A"), U'A');
  EXPECT_EQ(fromAnsiBytes("\x80"), U'€');
  EXPECT_EQ(fromAnsiBytes("\xD6\xD0"), U'中');
  EXPECT_EQ(fromAnsiBytes("\xA1\xA1"), U'\u3000');
  EXPECT_EQ(fromAnsiBytes("\xAA\xA1"), std::nullopt);  // an empty cell of the grid
  EXPECT_EQ(fromAnsiBytes("\xA1\x40"), std::nullopt);  // user-defined, in Windows' private use area
  EXPECT_EQ(fromAnsiBytes("\xFE\x50"), std::nullopt);
  EXPECT_EQ(fromAnsiBytes("\xFF"), std::nullopt);
  EXPECT_EQ(fromAnsiBytes("\xD6"), std::nullopt);      // lead byte alone
  EXPECT_EQ(fromAnsiBytes(""), std::nullopt);
}

std::u16string walked(std::u16string_view text) {
  std::u16string out;
  CharacterWalk walk(text);
  while (const auto c = walk.next()) {
    out.append(c->text);
    out.push_back(u'|');
  }
  return out;
}

TEST(CharacterWalk, SkipsCarriageReturnAndTheCharacterAfterIt) {
  EXPECT_EQ(walked(u""), u"");
  EXPECT_EQ(walked(u"A\r\nB"), u"A|B|");
  EXPECT_EQ(walked(u"A\rB"), u"A|");          // the B goes with the carriage return
  EXPECT_EQ(walked(u"A\r"), u"A|");           // ends at the carriage return
  EXPECT_EQ(walked(u"\r\n\r\nC"), u"C|");
  EXPECT_EQ(walked(u"\n\tA"), u"\n|\t|A|");   // a lone line feed and a tab are characters
  EXPECT_EQ(walked(u"\r\U0001F600B"), u"B|");  // the skipped character can be a surrogate pair
  EXPECT_EQ(walked(u"中\U0001F600"), u"中|\U0001F600|");
}

}  // namespace
}  // namespace lumadot
