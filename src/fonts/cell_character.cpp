#include "fonts/cell_character.h"

#include <string_view>

#include "extract/ansi_code.h"

namespace lumadot {

std::optional<char32_t> cellCharacter(std::int16_t code) {
  if (code >= 0x20 && code < 0x7F) return static_cast<char32_t>(code);
  // Alone, 0x81 to 0xFF are lead bytes, no characters; 0x80 is code page 936's euro.
  if (code == 0x80) return fromAnsiBytes(std::string_view("\x80", 1));
  if (code >= 0) return std::nullopt;
  const char bytes[2] = {static_cast<char>(leadByte(code)), static_cast<char>(trailByte(code))};
  return fromAnsiBytes(std::string_view(bytes, 2));
}

}  // namespace lumadot
