#pragma once
// Glyphs whose bytes a test chooses, paired with the characters of a text by
// the lookup's own rule, so listings and formats can be checked byte for byte.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

#include "extract/character_walk.h"
#include "extract/font_layout.h"
#include "extract/glyphs.h"

namespace lumadot::test {

// One glyph per character of `text` while bytes last; the last may be cut short.
inline Glyphs glyphsOf(std::u16string_view text, std::span<const std::uint8_t> bytes, CellSize cell = {}) {
  Glyphs glyphs;
  glyphs.cell = cell;
  CharacterWalk characters(text);
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    const auto c = characters.next();
    if (!c) break;
    const std::size_t size = std::min(glyphSize(cell.of(isDoubleByte(*c))), bytes.size() - offset);
    glyphs.glyphs.push_back({std::u16string(c->text), c->code, offset, size});
    offset += size;
  }
  glyphs.bytes.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
  return glyphs;
}

// Bytes 0, 1, 2, ... so every data line's bytes are known.
inline std::vector<std::uint8_t> countingBytes(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  return bytes;
}

}  // namespace lumadot::test
