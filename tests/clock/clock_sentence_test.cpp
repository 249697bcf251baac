#include "clock/clock_sentence.h"

#include <gtest/gtest.h>

namespace lumadot {
namespace {

struct WeekdayCase {
  int weekday;
  std::u16string_view character;
};

class EveryWeekday : public ::testing::TestWithParam<WeekdayCase> {};

TEST_P(EveryWeekday, StandsBetweenTheParentheses) {
  const ClockReading reading{u"2026/12/7", GetParam().weekday, u"14:05:09"};
  EXPECT_EQ(clockSentence(reading),
            u"今天是2026/12/7(星期" + std::u16string(GetParam().character) + u")现在时间14:05:09");
}

INSTANTIATE_TEST_SUITE_P(SundayFirst, EveryWeekday,
                         ::testing::Values(WeekdayCase{1, u"日"}, WeekdayCase{2, u"一"}, WeekdayCase{3, u"二"},
                                           WeekdayCase{4, u"三"}, WeekdayCase{5, u"四"}, WeekdayCase{6, u"五"},
                                           WeekdayCase{7, u"六"}),
                         [](const auto& row) { return "Day" + std::to_string(row.param.weekday); });

TEST(ClockSentence, AddsNoSpacesOfItsOwn) {
  // Any space is the locale's: a long date and a twelve-hour time keep theirs, and nothing is trimmed.
  EXPECT_EQ(clockSentence({u" 7 Dec 2026", 2, u"2:05:09 PM "}), u"今天是 7 Dec 2026(星期一)现在时间2:05:09 PM ");
  EXPECT_EQ(clockSentence({u"", 7, u""}), u"今天是(星期六)现在时间");
}

TEST(ClockSentence, WeekdayOutsideTheWeekHasNoCharacter) {
  for (const int weekday : {0, 8, -1}) EXPECT_TRUE(weekdayCharacter(weekday).empty()) << weekday;
}

}  // namespace
}  // namespace lumadot
