#include "extract/ansi_code.h"

#include "extract/code_pages.h"

namespace lumadot {

// Anything but one or two bytes means the character has no code.
std::int16_t ansiCode(char32_t ch) {
  if (ch < 0x80) return static_cast<std::int16_t>(ch);  // code page 936 keeps ASCII as it is
  const auto bytes = codePage936Bytes(ch);
  if (!bytes || bytes->empty() || bytes->size() > 2) return kQuestionMarkCode;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>((*bytes)[i]); };
  if (bytes->size() == 1) return static_cast<std::int16_t>(byte(0));
  return static_cast<std::int16_t>(byte(0) * 256 + byte(1) - 65536);
}

std::optional<char32_t> fromAnsiBytes(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > 2) return std::nullopt;
  return codePage936Character(bytes);
}

}  // namespace lumadot
