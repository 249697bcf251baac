#include "extract/glyph_entries.h"

#include <algorithm>

#include "extract/character_walk.h"
#include "extract/font_layout.h"

namespace lumadot {

std::vector<GlyphEntry> glyphEntries(const GlyphBuffer& buffer, std::u16string_view text) {
  const auto bytes = buffer.filled();
  std::vector<GlyphEntry> entries;
  entries.reserve(bytes.size() / kAsc16GlyphSize);
  CharacterWalk characters(text);
  std::size_t offset = 0;
  while (offset < bytes.size()) {
    GlyphEntry entry;
    if (const auto c = characters.next()) {
      entry.character = c->text;
      entry.doubleByte = isDoubleByte(*c);
    }
    const std::size_t size = entry.doubleByte ? kHzk16GlyphSize : kAsc16GlyphSize;
    entry.bytes = bytes.subspan(offset, std::min(size, bytes.size() - offset));
    offset += entry.bytes.size();
    entries.push_back(entry);
  }
  return entries;
}

}  // namespace lumadot
