#pragma once

// The glyph bytes drawn as the sign lights them. drawGlyphs reads the bytes
// in the layout they are stored in (scan, bit order, polarity) into a DotPicture; the terminal
// picture and the PNG draw that picture, so a font or option that does not
// fit shows as mirrored or scrambled glyphs.

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "extract/byte_layout.h"
#include "extract/glyph_entries.h"

namespace lumadot {

class DotPicture;

DotPicture drawGlyphs(std::span<const GlyphEntry> entries, const ByteLayout& layout);

// The run as the sign shows it: 16 dots high, glyphs side by side with no gaps.
class DotPicture {
 public:
  static constexpr int kHeight = 16;

  DotPicture() = default;
  // Bit y of column x lit: dot (x, y) is lit. The whole picture is one glyph.
  explicit DotPicture(std::vector<std::uint16_t> columns) : m_columns(std::move(columns)) {
    if (!m_columns.empty()) m_glyphStarts.push_back(0);
  }

  int width() const { return static_cast<int>(m_columns.size()); }
  // False outside the picture.
  bool lit(int x, int y) const;
  std::uint16_t column(int x) const;  // 0 outside the picture
  const std::vector<int>& glyphStarts() const { return m_glyphStarts; }

 private:
  friend DotPicture drawGlyphs(std::span<const GlyphEntry> entries, const ByteLayout& layout);

  std::vector<std::uint16_t> m_columns;  // bit y: dot (x, y) is lit
  std::vector<int> m_glyphStarts;

  friend bool operator==(const DotPicture& a, const DotPicture& b) { return a.m_columns == b.m_columns; }
};

}  // namespace lumadot
