#include <windows.h>

#include <chrono>
#include <string>

#include "clock/system_locale.h"

namespace lumadot {
namespace {

// Qt's C locale writes "7 Dec 2026" and "14:05:09"; Windows' invariant
// locale has the English month names for it.
bool isPosixName(std::string_view name) { return name == "C" || name == "POSIX"; }

// "zh_CN", "zh_CN.UTF-8" and "zh-CN" all name what Windows calls "zh-CN".
std::wstring windowsName(std::string_view name) {
  name = name.substr(0, name.find_first_of(".@"));
  std::wstring wide;
  for (const char c : name) wide += c == '_' ? L'-' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return wide;
}

// The locale the clock writes in; an empty name is the invariant one.
std::wstring resolvedName(const ClockLocale& locale) {
  if (!locale.isSystem()) return isPosixName(locale.name()) ? std::wstring() : windowsName(locale.name());
  wchar_t user[LOCALE_NAME_MAX_LENGTH] = {};
  // The sentence around the date is Chinese: China's way is the default's default.
  if (GetUserDefaultLocaleName(user, LOCALE_NAME_MAX_LENGTH) <= 1) return L"zh-CN";
  return user;
}

// Calls `fill(buffer, size)` the Win32 way: once for the size, once for the text.
template <typename Fill>
std::u16string filled(Fill fill) {
  const int size = fill(nullptr, 0);
  if (size <= 0) return {};
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  const int written = fill(text.data(), size);
  text.resize(written > 0 ? static_cast<std::size_t>(written - 1) : 0);  // the count holds the terminating null
  return std::u16string(text.begin(), text.end());
}

std::u16string localeText(const std::wstring& name, LCTYPE type) {
  return filled([&](wchar_t* buffer, int size) { return GetLocaleInfoEx(name.c_str(), type, buffer, size); });
}

// The locale's time format, or hours, minutes and seconds where it has no seconds.
std::wstring clockTimeFormat(const std::wstring& name) {
  if (name.empty()) return L"HH:mm:ss";
  const std::u16string format = localeText(name, LOCALE_STIMEFORMAT);
  bool quoted = false;
  for (const char16_t c : format) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u's') return std::wstring(format.begin(), format.end());
  }
  return L"HH:mm:ss";
}

SYSTEMTIME systemTime(const ClockMoment& moment, int weekday) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(moment.year);
  time.wMonth = static_cast<WORD>(moment.month);
  time.wDayOfWeek = static_cast<WORD>(weekday - 1);
  time.wDay = static_cast<WORD>(moment.day);
  time.wHour = static_cast<WORD>(moment.hour);
  time.wMinute = static_cast<WORD>(moment.minute);
  time.wSecond = static_cast<WORD>(moment.second);
  return time;
}

}  // namespace

bool knownLocale(std::string_view name) {
  if (isPosixName(name)) return true;
  const std::wstring wide = windowsName(name);
  return !wide.empty() && IsValidLocaleName(wide.c_str());
}

ClockMoment currentMoment() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

ClockReading readClock(const ClockLocale& locale, const ClockMoment& moment) {
  using namespace std::chrono;
  const year_month_day date{year{moment.year}, month{static_cast<unsigned>(moment.month)},
                            day{static_cast<unsigned>(moment.day)}};
  const int weekday = static_cast<int>(std::chrono::weekday(sys_days(date)).c_encoding()) + 1;  // Sunday 1
  const std::wstring name = resolvedName(locale);
  const SYSTEMTIME time = systemTime(moment, weekday);
  const DWORD dateFlags = name.empty() ? 0 : DATE_SHORTDATE;
  const wchar_t* datePicture = name.empty() ? L"d MMM yyyy" : nullptr;
  const std::wstring timePicture = clockTimeFormat(name);
  return {filled([&](wchar_t* buffer, int size) {
            return GetDateFormatEx(name.c_str(), dateFlags, &time, datePicture, buffer, size, nullptr);
          }),
          weekday, filled([&](wchar_t* buffer, int size) {
            return GetTimeFormatEx(name.c_str(), 0, &time, timePicture.c_str(), buffer, size);
          })};
}

std::u16string decimalSeparator(const ClockLocale& locale) {
  const std::wstring name = resolvedName(locale);
  if (name.empty()) return u".";
  return localeText(name, LOCALE_SDECIMAL);
}

}  // namespace lumadot
