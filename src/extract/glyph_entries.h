#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "extract/glyphs.h"

namespace lumadot {

// One glyph of a run as the output formats read it: its character and its
// bytes as they stand (in the run's layout), viewed inside a Glyphs.
struct GlyphEntry {
  std::u16string_view character;
  bool doubleByte = false;
  std::span<const std::uint8_t> bytes;  // at 16: 32 for a double-byte glyph, else 16
  Dots dots = CellSize{}.of(doubleByte);  // the glyph's size
};

// The glyphs of `glyphs` in text order, viewing into it: valid while it lives.
std::vector<GlyphEntry> glyphEntries(const Glyphs& glyphs);

// What each glyph's bytes draw when read in `layout`, the layout they were looked up in.
std::vector<GlyphPicture> glyphPictures(const Glyphs& glyphs, const ByteLayout& layout);

// The same glyphs in layout `to`, their bytes read in `from`: what a lookup in `to` gives.
Glyphs laidOut(const Glyphs& glyphs, const ByteLayout& from, const ByteLayout& to);

}  // namespace lumadot
