#pragma once

#include <string>
#include <string_view>

#include "preview/dot_picture.h"

namespace lumadot {

// What one dot looks like in the terminal; each must take one character cell.
struct DotCharacters {
  std::string_view lit;
  std::string_view unlit;
};

inline constexpr DotCharacters kBlockDots{"\u2588", "\u00B7"};  // UTF-8 full block and middle dot
inline constexpr DotCharacters kAsciiDots{"#", "."};

// One text row per dot row, each ended by "\n", one character cell per dot.
// When maxWidth > 0 the picture is cut into bands at glyph starts so that each
// band is at most maxWidth dots wide (a glyph wider than maxWidth gets a band
// of its own); bands are separated by one empty line. maxWidth <= 0: one band.
// An empty picture gives "".
std::string terminalPicture(const DotPicture& picture, const DotCharacters& dots, int maxWidth);

}  // namespace lumadot
