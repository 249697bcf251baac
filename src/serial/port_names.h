#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumadot {

inline constexpr int kPortCount = 16;

// "com1" to "com16", compared whole and case-sensitively: "COM1", " com1"
// and "com01" name no port.
std::optional<int> portNumber(std::u16string_view text);
std::u16string portName(int number);
// Why a port box's text names no port, and how comN is chosen.
std::string unknownPortReason(std::u16string_view text);

}  // namespace lumadot
