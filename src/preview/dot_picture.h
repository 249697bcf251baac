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

// The run as the sign shows it: glyphs side by side with no gaps, as high as
// the tallest (16 dots on the sign; 8 to 64 for other displays).
class DotPicture {
 public:
  static constexpr int kSignHeight = 16;

  DotPicture() = default;
  // Bit y of column x lit: dot (x, y) is lit. The whole picture is one glyph, 16 dots high.
  explicit DotPicture(const std::vector<std::uint16_t>& columns);

  int width() const { return static_cast<int>(m_columns.size()); }
  int height() const { return m_height; }
  // False outside the picture.
  bool lit(int x, int y) const;
  // Column x's top 16 dots, all the sign shows; 0 outside the picture.
  std::uint16_t column(int x) const;
  // Column x's dots, bit y for row y; 0 outside the picture.
  std::uint64_t dotsOf(int x) const;
  const std::vector<int>& glyphStarts() const { return m_glyphStarts; }

 private:
  friend DotPicture drawGlyphs(std::span<const GlyphEntry> entries, const ByteLayout& layout);

  std::vector<std::uint64_t> m_columns;  // bit y: dot (x, y) is lit
  std::vector<int> m_glyphStarts;
  int m_height = kSignHeight;

  friend bool operator==(const DotPicture& a, const DotPicture& b) {
    return a.m_height == b.m_height && a.m_columns == b.m_columns;
  }
};

}  // namespace lumadot
