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

std::vector<GlyphPicture> glyphPictures(const Glyphs& glyphs, const ByteLayout& layout) {
  std::vector<GlyphPicture> pictures;
  pictures.reserve(glyphs.glyphs.size());
  for (const GlyphEntry& entry : glyphEntries(glyphs)) pictures.push_back(decodeGlyph(entry.bytes, entry.dots, layout));
  return pictures;
}

}  // namespace lumadot
