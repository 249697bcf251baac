#include "clock/clock_sentence.h"

#include <array>

namespace lumadot {

std::u16string_view weekdayCharacter(int weekday) {
  static constexpr std::array<std::u16string_view, 7> kCharacters{u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
  if (weekday < 1 || weekday > 7) return {};
  return kCharacters[static_cast<std::size_t>(weekday - 1)];
}

std::u16string clockSentence(const ClockReading& reading) {
  std::u16string sentence = u"今天是";
  sentence += reading.dateText;
  sentence += u"(星期";
  sentence += weekdayCharacter(reading.weekday);
  sentence += u")现在时间";
  sentence += reading.timeText;
  return sentence;
}

}  // namespace lumadot
