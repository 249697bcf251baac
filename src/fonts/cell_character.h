#pragma once

#include <cstdint>
#include <optional>

namespace lumadot {

// The character the font files keep in the cell of `code` (an ansiCode):
// printable ASCII, the euro sign at 0x80 and every double-byte character.
// Nothing for the other single bytes, whose cells stay blank: a sign shows
// control codes as nothing.
std::optional<char32_t> cellCharacter(std::int16_t code);

}  // namespace lumadot
