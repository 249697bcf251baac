#pragma once

// Characters named on one line of a warning, safe for a terminal.

#include <string>
#include <string_view>
#include <vector>

#include "extract/undrawn_characters.h"

namespace lumadot::cli {

// Up to a line's worth, then how many more.
std::string namedCharacters(const std::vector<std::u16string_view>& characters);
std::string namedCharacters(const std::vector<char32_t>& characters);
// Those of `undrawn` that are undrawn for `why`, named.
std::string namedCharacters(const std::vector<UndrawnCharacter>& undrawn, Undrawn why);

}  // namespace lumadot::cli
