#include "clock/qt_clock_reading.h"
#include "support/named_rows.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

namespace lumadot {
namespace {

using test::PrintTo;

struct FormatCase {
  const char* name;
  QString longFormat;
  QString clockFormat;
};

class ClockTimeFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ClockTimeFormat, KeepsSecondsAndDropsTheZone) {
  EXPECT_EQ(clockTimeFormat(GetParam().longFormat).toStdString(), GetParam().clockFormat.toStdString());
}

// The shapes the locale data has: the zone after, before, in brackets or
// parentheses; a day period; quoted words, whose letters are text.
INSTANTIATE_TEST_SUITE_P(
    Shapes, ClockTimeFormat,
    ::testing::Values(FormatCase{"ZoneAfter", "HH:mm:ss t", "HH:mm:ss"},
                      FormatCase{"ZoneBefore", "t HH:mm:ss", "HH:mm:ss"},
                      FormatCase{"TwelveHour", "h:mm:ss AP t", "h:mm:ss AP"},
                      FormatCase{"ZoneInBrackets", "Bh:mm:ss [t]", "APh:mm:ss"},
                      FormatCase{"ZoneInParentheses", "H:mm:ss (t)", "H:mm:ss"},
                      FormatCase{"LongZoneName", "HH:mm:ss tttt", "HH:mm:ss"},
                      FormatCase{"Words", "H時mm分ss秒 t", "H時mm分ss秒"},
                      FormatCase{"QuotedLetters", "HH'h'mm 'at' ss t", "HH'h'mm 'at' ss"},
                      FormatCase{"NarrowSpaceKept", QString::fromUtf16(u"h:mm:ss\u202FAP t"),
                                 QString::fromUtf16(u"h:mm:ss\u202FAP")},
                      FormatCase{"NoSeconds", "h:mm AP", "HH:mm:ss"}),
    [](const auto& row) { return std::string(row.param.name); });

// The week of Sunday 6 to Saturday 12 December 2026.
TEST(ReadClock, CountsTheWeekFromSunday) {
  const QLocale chinese(QLocale::Chinese, QLocale::China);
  for (int day = 6; day <= 12; ++day) {
    const ClockReading reading = readClock(chinese, QDateTime(QDate(2026, 12, day), QTime(9, 5, 7)));
    EXPECT_EQ(reading.weekday, day - 5) << day;
    EXPECT_EQ(QString::fromStdU16String(reading.dateText), QStringLiteral("2026/12/%1").arg(day));
    EXPECT_EQ(reading.timeText, u"09:05:07");
  }
}

TEST(ReadClock, WritesAsTheLocaleDoes) {
  const QDateTime moment(QDate(2026, 12, 7), QTime(14, 5, 9));
  EXPECT_EQ(readClock(QLocale::c(), moment).dateText, u"7 Dec 2026");
  EXPECT_EQ(readClock(QLocale::c(), moment).timeText, u"14:05:09");
  const QLocale american(QLocale::English, QLocale::UnitedStates);
  EXPECT_EQ(readClock(american, moment).dateText, u"12/7/26");
  EXPECT_EQ(readClock(american, moment).timeText, u"2:05:09 PM");
  EXPECT_EQ(readClock(QLocale(QLocale::Chinese, QLocale::Taiwan), moment).timeText, u"下午2:05:09");
}

// Qt reports LC_ALL=C, POSIX or an unknown name as the C locale.
TEST(ClockLocale, WritesAsChinaDoesWhereTheSystemHasNoLocale) {
  const QDateTime moment(QDate(2026, 12, 7), QTime(17, 17, 48));
  const struct {
    QLocale system;
    const char16_t* date;
    const char16_t* time;
  } rows[] = {{QLocale::c(), u"2026/12/7", u"17:17:48"},
              {QLocale(QStringLiteral("POSIX")), u"2026/12/7", u"17:17:48"},
              {QLocale(QLocale::English, QLocale::UnitedStates), u"12/7/26", u"5:17:48 PM"},
              {QLocale(QLocale::German, QLocale::Germany), u"07.12.26", u"17:17:48"}};
  for (const auto& row : rows) {
    const ClockReading reading = readClock(clockLocale(row.system), moment);
    EXPECT_EQ(reading.dateText, row.date) << row.system.name().toStdString();
    EXPECT_EQ(reading.timeText, row.time) << row.system.name().toStdString();
  }
}

}  // namespace
}  // namespace lumadot
