#pragma once

// The clock read through QLocale: the windows' way everywhere, and
// system_locale.h's on Linux.

#include <QLocale>

#include "clock/clock_sentence.h"

class QDateTime;
class QString;

namespace lumadot {

// A locale's long time format made fit for the clock: hours, minutes and
// seconds without the time zone ("HH:mm:ss t" becomes "HH:mm:ss").
QString clockTimeFormat(const QString& longTimeFormat);

// The locale the clock writes in when none is named: the system's, or
// Chinese in China where the system has no real locale (C or POSIX, as on
// most headless machines), since the sentence around the date is Chinese.
QLocale clockLocale(const QLocale& system = QLocale::system());

// `moment` as the clock writes it in `locale`.
ClockReading readClock(const QLocale& locale, const QDateTime& moment);

}  // namespace lumadot
