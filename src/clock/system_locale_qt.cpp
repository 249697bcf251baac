#include <QDateTime>
#include <QLocale>

#include "clock/system_locale.h"
#include "clock/qt_clock_reading.h"

namespace lumadot {
namespace {

QLocale qtLocale(const ClockLocale& locale) {
  return locale.isSystem() ? clockLocale() : QLocale(QString::fromStdString(locale.name()));
}

}  // namespace

// Qt falls back to the C locale for a name it does not know.
bool knownLocale(std::string_view name) {
  const QLocale locale(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  return locale.language() != QLocale::C || name == "C" || name == "POSIX";
}

ClockMoment currentMoment() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate date = now.date();
  const QTime time = now.time();
  return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

ClockReading readClock(const ClockLocale& locale, const ClockMoment& moment) {
  return readClock(qtLocale(locale), QDateTime(QDate(moment.year, moment.month, moment.day),
                                               QTime(moment.hour, moment.minute, moment.second)));
}

std::u16string decimalSeparator(const ClockLocale& locale) { return qtLocale(locale).decimalPoint().toStdU16String(); }

}  // namespace lumadot
