#pragma once

// The characters of a text that a run cannot draw as they were typed. The
// run's bytes are right all the same; this tells a user who typed 😀 why the
// sign shows "?", and one with a short font file why a glyph is blank.

#include <cstdint>
#include <string_view>
#include <vector>

#include "extract/font_file.h"
#include "extract/font_layout.h"

namespace lumadot {

enum class Undrawn {
  questionMark,  // code page 936 has no such character: it gets the glyph of "?"
  outsideGrid,   // double-byte, but outside the font's grid (hzk16's is GB2312): blank
  pastAsc16End,  // its glyph lies past the end of a short asc16: blank, or partly
  pastHzk16End,  // the same in hzk16
  notInFont,     // a font drawn from has no glyph for it: blank
};

struct UndrawnCharacter {
  std::u16string_view character;  // one character of the text
  Undrawn why;
};

// The font files' sizes as found; one that cannot be read counts as whole,
// since the run stops at it with its own warning.
struct FontSizes {
  std::uint64_t asc16 = kAsc16Size;
  std::uint64_t hzk16 = kHzk16Size;
  CellSize cell{};
  Charset charset = Charset::gb2312;
};
FontSizes fontSizes(const FontPaths& fonts);

// Each such character once, in the order of the text, as the run walks it.
std::vector<UndrawnCharacter> undrawnCharacters(std::u16string_view text, const FontSizes& sizes);

}  // namespace lumadot
