#include "clock/qt_clock_reading.h"

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

namespace lumadot {

QString clockTimeFormat(const QString& longTimeFormat) {
  QString format;
  bool quoted = false;
  for (const QChar c : longTimeFormat) {
    if (c == u'\'') quoted = !quoted;
    if (quoted) {
      format += c;
    } else if (c == u'B') {
      // The locale data's day period ("Bh:mm:ss", Chinese in Taiwan); Qt
      // would print the letter itself, so it becomes Qt's AM/PM.
      format += QStringLiteral("AP");
    } else if (c != u't') {  // time zone: "t HH:mm:ss", "h:mm:ss AP t"
      format += c;
    }
  }
  format.remove(QRegularExpression(QStringLiteral(R"(\[ *\]|\( *\))")));  // "[t]", "(t)"
  format.replace(QRegularExpression(QStringLiteral(" {2,}")), QStringLiteral(" "));
  format = format.trimmed();
  // The clock shows seconds even where the locale's long time has none.
  if (!format.contains(u's')) format = QStringLiteral("HH:mm:ss");
  return format;
}

QLocale clockLocale(const QLocale& system) {
  return system.language() == QLocale::C ? QLocale(QLocale::Chinese, QLocale::China) : system;
}

ClockReading readClock(const QLocale& locale, const QDateTime& moment) {
  const QDate date = moment.date();
  return {locale.toString(date, QLocale::ShortFormat).toStdU16String(),
          date.dayOfWeek() % 7 + 1,  // Qt counts Monday 1 ... Sunday 7
          locale.toString(moment.time(), clockTimeFormat(locale.timeFormat(QLocale::LongFormat))).toStdU16String()};
}

}  // namespace lumadot
