#pragma once

#include "clock/clock_sentence.h"

class QDateTime;
class QLocale;
class QString;

namespace lumadot {

// A locale's long time format made fit for the clock: hours, minutes and
// seconds without the time zone ("HH:mm:ss t" becomes "HH:mm:ss").
QString clockTimeFormat(const QString& longTimeFormat);

// `moment` as the clock writes it in `locale`.
ClockReading readClock(const QLocale& locale, const QDateTime& moment);

}  // namespace lumadot
