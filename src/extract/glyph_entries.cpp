#include "extract/glyph_entries.h"

namespace lumadot {

std::vector<GlyphEntry> glyphEntries(const Glyphs& glyphs) {
  std::vector<GlyphEntry> entries;
  entries.reserve(glyphs.glyphs.size());
  const std::span<const std::uint8_t> bytes(glyphs.bytes);
  for (const Glyph& glyph : glyphs.glyphs) {
    entries.push_back({glyph.character, glyph.doubleByte(), bytes.subspan(glyph.offset, glyph.size), glyphs.dots(glyph)});
  }
  return entries;
}

}  // namespace lumadot
