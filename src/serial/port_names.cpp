#include "serial/port_names.h"

namespace lumadot {

std::optional<int> portNumber(std::u16string_view text) {
  for (int n = 1; n <= kPortCount; ++n) {
    if (text == portName(n)) return n;
  }
  return std::nullopt;
}

std::u16string portName(int number) {
  std::u16string name = u"com";
  for (const char c : std::to_string(number)) name += static_cast<char16_t>(c);
  return name;
}

}  // namespace lumadot
