#pragma once

#include <string>
#include <string_view>

namespace lumadot {

// One moment as the clock writes it: the locale's own texts, and the weekday.
struct ClockReading {
  std::u16string dateText;  // the locale's short date
  int weekday = 1;          // 1 Sunday, 2 Monday ... 7 Saturday
  std::u16string timeText;  // the locale's time, seconds included
};

// "日" for Sunday (1) to "六" for Saturday (7); empty for any other number.
std::u16string_view weekdayCharacter(int weekday);

// "今天是" date "(星期" weekday ")现在时间" time. Nothing goes between the
// pieces: any space in the sentence is the locale's own.
std::u16string clockSentence(const ClockReading& reading);

}  // namespace lumadot
