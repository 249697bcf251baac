#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "extract/glyph_buffer.h"

namespace lumadot {

// One glyph of a run: the character it was looked up from and its bytes as
// they stand in the buffer (after the bit order and the 8*16 option).
struct GlyphEntry {
  std::u16string_view character;  // empty past the end of the text
  bool doubleByte = false;
  std::span<const std::uint8_t> bytes;  // 32 for a double-byte glyph, else 16
};

// The filled entries of `buffer`, one per character of `text` that got a
// glyph, in text order. Every output format reads the run through this, so
// each glyph is paired with its character by one rule. Bytes past the end of
// the text (a buffer filled from another text) become glyphs of 16 bytes
// with no character.
std::vector<GlyphEntry> glyphEntries(const GlyphBuffer& buffer, std::u16string_view text);

}  // namespace lumadot
