#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "preview/dot_picture.h"

namespace lumadot::test {

// Glyph bytes as a run stores them; entries viewing them must not outlive this.
struct StoredGlyph {
  bool doubleByte = false;
  std::vector<std::uint8_t> bytes;
};

// A full-size glyph with the given bytes set and every other byte `fill`.
inline StoredGlyph sparseGlyph(bool doubleByte, const std::vector<std::pair<int, std::uint8_t>>& setBytes,
                               std::uint8_t fill = 0) {
  StoredGlyph glyph{doubleByte, std::vector<std::uint8_t>(doubleByte ? 32 : 16, fill)};
  for (const auto& [index, value] : setBytes) glyph.bytes.at(static_cast<std::size_t>(index)) = value;
  return glyph;
}

inline DotPicture pictureOf(const std::vector<StoredGlyph>& glyphs, const ByteLayout& layout = {}) {
  std::vector<GlyphEntry> entries;
  for (const StoredGlyph& glyph : glyphs) entries.push_back({u"", glyph.doubleByte, glyph.bytes});
  return drawGlyphs(entries, layout);
}

// The picture row by row, '#' lit, '.' dark, read through lit() alone.
inline std::vector<std::string> dotRows(const DotPicture& picture) {
  std::vector<std::string> rows(picture.height());
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) rows[static_cast<std::size_t>(y)] += picture.lit(x, y) ? '#' : '.';
  }
  return rows;
}

}  // namespace lumadot::test
