#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"

namespace lumadot {

inline constexpr int kPortCount = 16;

// "com1" to "com16", compared whole and case-sensitively: "COM1", " com1"
// and "com01" name no port.
std::optional<int> portNumber(std::u16string_view text);
// comN as an option takes it: the prefix in any case, so "COM1", as Windows
// names its ports, is com1 on every system. The window's box keeps
// portNumber's exact table.
std::optional<int> portNumberAnyCase(std::u16string_view text);
std::u16string portName(int number);

// The port a box or an option names: comN by its number, or any device by its path.
struct PortChoice {
  int number = 0;       // 1 to 16 for comN; 0 when `device` names it
  std::string device;   // UTF-8 path, when number is 0

  bool operator==(const PortChoice&) const = default;
};

// How a system spells a port's device: an absolute path (/dev/ttyUSB0), or
// on Windows COMn and \\.\COMn. Both are plain rules, compiled everywhere.
enum class PortPaths { posix, windows };
#ifdef _WIN32
inline constexpr PortPaths kSystemPortPaths = PortPaths::windows;
#else
inline constexpr PortPaths kSystemPortPaths = PortPaths::posix;
#endif

// comN as portNumber takes it, or a device as `paths` spells it. Anything
// else names no port, so a mistyped list item is still caught.
std::optional<PortChoice> portChoice(std::u16string_view text, PortPaths paths = kSystemPortPaths);

// How a message names the port: "com1 (/dev/pts/3)", "com1" while its device
// is not known, or the path alone when the port was named by it.
std::string portLabel(const PortChoice& port, const std::string& device = {});

// Why a port box's text names no port, and how comN is chosen.
Failure unknownPort(std::u16string_view text, PortPaths paths = kSystemPortPaths);

}  // namespace lumadot
