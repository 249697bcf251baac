#include "serial/port_names.h"

#include "extract/text_codec.h"

namespace lumadot {

std::optional<int> portNumber(std::u16string_view text) {
  for (int n = 1; n <= kPortCount; ++n) {
    if (text == portName(n)) return n;
  }
  return std::nullopt;
}

std::optional<int> portNumberAnyCase(std::u16string_view text) {
  constexpr std::u16string_view kPrefix = u"com";
  if (text.size() < kPrefix.size()) return std::nullopt;
  for (std::size_t i = 0; i < kPrefix.size(); ++i) {
    if ((text[i] | 0x20) != kPrefix[i]) return std::nullopt;  // ASCII letters only: 'C' | 0x20 is 'c'
  }
  return portNumber(std::u16string(kPrefix) + std::u16string(text.substr(kPrefix.size())));
}

namespace {

bool isAsciiDigits(std::u16string_view text) {
  if (text.empty()) return false;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

bool isDevicePath(std::u16string_view text, PortPaths paths) {
  if (paths == PortPaths::posix) return text.size() > 1 && text.front() == u'/';
  std::u16string_view name = text;
  if (name.starts_with(u"\\\\.\\")) name.remove_prefix(4);
  return name.starts_with(u"COM") && isAsciiDigits(name.substr(3));
}

}  // namespace

std::optional<PortChoice> portChoice(std::u16string_view text, PortPaths paths) {
  if (const auto number = portNumber(text)) return PortChoice{*number, {}};
  if (isDevicePath(text, paths)) return PortChoice{0, utf16ToUtf8(text)};
  return std::nullopt;
}

std::u16string portName(int number) {
  std::u16string name = u"com";
  for (const char c : std::to_string(number)) name += static_cast<char16_t>(c);
  return name;
}

std::string portLabel(const PortChoice& port, const std::string& device) {
  if (port.number == 0) return port.device;
  return "com" + std::to_string(port.number) + (device.empty() ? "" : " (" + device + ")");
}

Failure unknownPort(std::u16string_view text, PortPaths paths) {
  // Appended, not a literal put before a temporary string, where GCC 12 warns of a false overlap.
  return Failure(std::string("\"").append(utf16ToUtf8(text)) +
         "\" is not a port name: ports are named com1 to com16, in lower case, or a device by its path (" +
         (paths == PortPaths::windows ? "COM17, \\\\.\\COM17" : "/dev/ttyUSB0") +
         "). "
         "comN leads to the device that LUMADOT_COMn names (LUMADOT_COM1=/dev/ttyUSB0 makes com1 that device); "
         "'lumadot-cli ports' shows where each comN leads")
      .because({CauseKind::notPortName, utf16ToUtf8(text)});
}

}  // namespace lumadot
