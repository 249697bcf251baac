// The clock's locale as lumadot-cli names it: Qt's locale data on Linux, the
// system's own on Windows, where some locales write the year or the hour
// differently; the rows give both.
#include "clock/system_locale.h"
#include "support/named_rows.h"

#include <gtest/gtest.h>

#include <cctype>

#include <string>

namespace lumadot {
namespace {

using test::PrintTo;

#ifdef _WIN32
#define QT_OR_WINDOWS(qt, windows) windows
#else
#define QT_OR_WINDOWS(qt, windows) qt
#endif

// Where wine's locale data and Windows' own disagree: not compared on Windows.
constexpr std::u16string_view kWindowsVaries{};

constexpr ClockMoment kAfternoon{2026, 12, 7, 14, 5, 9};
constexpr ClockMoment kMorning{2026, 12, 7, 9, 5, 7};

struct ReadingCase {
  const char* name;
  ClockMoment moment;
  std::u16string_view date;
  std::u16string_view time;
};

class NamedLocale : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(NamedLocale, WritesTheDateAndTimeAsItDoes) {
  ASSERT_TRUE(knownLocale(GetParam().name));
  const ClockReading reading = readClock(ClockLocale::named(GetParam().name), GetParam().moment);
  if (!GetParam().date.empty()) {
    EXPECT_EQ(reading.dateText, GetParam().date);
  }
  if (!GetParam().time.empty()) {
    EXPECT_EQ(reading.timeText, GetParam().time);
  }
  EXPECT_EQ(reading.weekday, 2);  // a Monday
}

// Every form a name comes in: as Linux spells it, with its encoding, as Windows spells it.
INSTANTIATE_TEST_SUITE_P(
    Names, NamedLocale,
    ::testing::Values(ReadingCase{"C", kAfternoon, u"7 Dec 2026", u"14:05:09"},
                      ReadingCase{"POSIX", kMorning, u"7 Dec 2026", u"09:05:07"},
                      ReadingCase{"zh_CN", kAfternoon, u"2026/12/7", u"14:05:09"},
                      ReadingCase{"zh-CN", kAfternoon, u"2026/12/7", u"14:05:09"},
                      ReadingCase{"zh_CN.UTF-8", kAfternoon, u"2026/12/7", u"14:05:09"},
                      ReadingCase{"zh_CN", kMorning, u"2026/12/7", QT_OR_WINDOWS(u"09:05:07", kWindowsVaries)},
                      ReadingCase{"zh_TW", kAfternoon, u"2026/12/7", QT_OR_WINDOWS(u"下午2:05:09", kWindowsVaries)},
                      ReadingCase{"en_US", kAfternoon, QT_OR_WINDOWS(u"12/7/26", u"12/7/2026"), u"2:05:09 PM"},
                      ReadingCase{"en-US", kMorning, QT_OR_WINDOWS(u"12/7/26", u"12/7/2026"), u"9:05:07 AM"},
                      ReadingCase{"de_DE", kAfternoon, QT_OR_WINDOWS(u"07.12.26", kWindowsVaries), u"14:05:09"},
                      ReadingCase{"de-DE", kMorning, QT_OR_WINDOWS(u"07.12.26", kWindowsVaries), u"09:05:07"}),
    [](const auto& row) {
      std::string name;
      for (const char c : std::string(row.param.name)) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      return name + (row.param.moment.hour < 12 ? "_Morning" : "_Afternoon") + std::to_string(row.index);
    });

// The week of Sunday 6 to Saturday 12 December 2026, and a leap day.
TEST(ClockLocaleReading, CountsTheWeekFromSunday) {
  for (int day = 6; day <= 12; ++day) {
    EXPECT_EQ(readClock(ClockLocale::named("zh_CN"), {2026, 12, day, 9, 5, 7}).weekday, day - 5) << day;
  }
  EXPECT_EQ(readClock(ClockLocale::named("zh_CN"), {2028, 2, 29, 0, 0, 0}).weekday, 3);
  EXPECT_EQ(readClock(ClockLocale::named("zh_CN"), {2028, 2, 29, 0, 0, 0}).dateText, u"2028/2/29");
}

TEST(ClockLocaleNames, KnowsOnlyWhatTheSystemCanWrite) {
  for (const char* name : {"C", "POSIX", "zh_CN", "zh-CN", "zh_CN.UTF-8", "de_DE", "en-US"}) {
    EXPECT_TRUE(knownLocale(name)) << name;
  }
  for (const char* name : {"nonsense", "xx_YY", "qq-ZZ"}) EXPECT_FALSE(knownLocale(name)) << name;
}

TEST(ClockLocaleDecimal, IsTheLocalesOwn) {
  EXPECT_EQ(decimalSeparator(ClockLocale::named("C")), u".");
  EXPECT_EQ(decimalSeparator(ClockLocale::named("zh-CN")), u".");
  EXPECT_EQ(decimalSeparator(ClockLocale::named("de_DE")), u",");
}

// The system's locale, whatever it is, writes a date and a time with seconds.
TEST(ClockLocaleSystem, WritesSomething) {
  const ClockReading reading = readClock(ClockLocale::system(), kAfternoon);
  EXPECT_FALSE(reading.dateText.empty());
  EXPECT_NE(reading.timeText.find(u"05"), std::u16string::npos);
  EXPECT_NE(reading.timeText.find(u"09"), std::u16string::npos);
}

}  // namespace
}  // namespace lumadot
