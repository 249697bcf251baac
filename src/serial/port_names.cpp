#include "serial/port_names.h"

#include "extract/text_codec.h"

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

std::string unknownPortReason(std::u16string_view text) {
  return "\"" + utf16ToUtf8(text) +
         "\" is not a port name: ports are named com1 to com16, in lower case. "
         "comN leads to the device that LUMADOT_COMn names (LUMADOT_COM1=/dev/ttyUSB0 makes com1 that device); "
         "'lumadot-cli ports' shows where each comN leads";
}

}  // namespace lumadot
