#pragma once

// The glyph bytes drawn as the sign lights them. drawGlyphs reads the bytes
// the way they are stored (tiles, bit order) into a DotPicture; the terminal
// picture and the PNG draw that picture, so a font or option that does not
// fit shows as mirrored or scrambled glyphs.


#include <cstdint>
#include <span>
#include <vector>

#include "extract/glyph_entries.h"

namespace lumadot {

// How the bytes of a run are stored: split8x16 puts a double-byte glyph's
// left 8*16 tile before its right one; reverseBits makes bit 0 the leftmost dot.
struct PictureLayout {
  bool split8x16 = false;
  bool reverseBits = false;
};

class DotPicture;

DotPicture drawGlyphs(std::span<const GlyphEntry> entries, const PictureLayout& layout);

// The run as the sign shows it: 16 dots high, glyphs side by side with no gaps.
class DotPicture {
 public:
  static constexpr int kHeight = 16;

  int width() const { return static_cast<int>(m_columns.size()); }
  // False outside the picture.
  bool lit(int x, int y) const;
  const std::vector<int>& glyphStarts() const { return m_glyphStarts; }

 private:
  friend DotPicture drawGlyphs(std::span<const GlyphEntry> entries, const PictureLayout& layout);

  std::vector<std::uint16_t> m_columns;  // bit y: dot (x, y) is lit
  std::vector<int> m_glyphStarts;
};

}  // namespace lumadot
