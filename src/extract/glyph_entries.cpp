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

Glyphs laidOut(const Glyphs& glyphs, const ByteLayout& from, const ByteLayout& to) {
  if (from == to) return glyphs;
  Glyphs out{{}, glyphs.glyphs, glyphs.cell};
  const auto pictures = glyphPictures(glyphs, from);
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    Glyph& glyph = out.glyphs[i];
    glyph.offset = out.bytes.size();
    glyph.size = glyphSize(pictures[i].dots(), to.scan);
    out.bytes.resize(glyph.offset + glyph.size);
    encodeGlyph(pictures[i], to, std::span(out.bytes).subspan(glyph.offset, glyph.size));
  }
  return out;
}

}  // namespace lumadot
