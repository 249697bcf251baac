#pragma once

// The clock's locale without Qt, so lumadot-cli builds where Qt is not: Qt's
// locale data on Linux (qt_clock_reading.h), the system's own on Windows.

#include <string>
#include <string_view>

#include "clock/clock_sentence.h"

namespace lumadot {

// A moment of the local calendar and wall clock.
struct ClockMoment {
  int year = 2000;
  int month = 1;  // 1 ... 12
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The locale the clock writes in: one named, or the system's as the clock
// takes it (clockLocale's rule: Chinese in China where the system has none).
class ClockLocale {
 public:
  static ClockLocale system() { return ClockLocale(std::string()); }
  // "zh_CN", "zh-CN", "de_DE.UTF-8", "C"; check it with knownLocale first.
  static ClockLocale named(std::string_view name) { return ClockLocale(std::string(name)); }

  bool isSystem() const { return m_name.empty(); }
  const std::string& name() const { return m_name; }

 private:
  explicit ClockLocale(std::string name) : m_name(std::move(name)) {}
  std::string m_name;  // empty: the system's
};

// Whether the system can write in locale `name`. C and POSIX are known.
bool knownLocale(std::string_view name);

// The moment now, on the local clock.
ClockMoment currentMoment();

// `moment` as the clock writes it in `locale`.
ClockReading readClock(const ClockLocale& locale, const ClockMoment& moment);

// The locale's decimal separator, for amounts such as the seconds a send took.
std::u16string decimalSeparator(const ClockLocale& locale);

}  // namespace lumadot
