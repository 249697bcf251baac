#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "extract/byte_layout.h"

namespace lumadot::test {

// A real font's glyphs at a pixel size through FreeType: the designer's
// bitmaps where the face has that size, else its outlines in one bit a dot,
// hinted by the font alone, as the firmware of a sign built on that font
// holds them.
class FontBitmaps {
 public:
  // Fails the calling test when the font cannot be opened at `pixels`.
  FontBitmaps(const std::filesystem::path& file, int face, int pixels = 16);
  ~FontBitmaps();

  // The glyph of `character` in `cell` on row `baseline`, moved just enough
  // to fit; nothing when the font has no such glyph.
  std::optional<GlyphPicture> glyph(char32_t character, Dots cell = {16, 16}, int baseline = 14);
  // Whether that glyph's bitmap is no bigger than `cell`; no glyph is.
  bool fits(char32_t character, Dots cell);

 private:
  struct Face;
  std::unique_ptr<Face> m_face;
};

// `theirs` moved across so that its first lit column is that of `ours`:
// where a glyph starts in its cell is the font builder's to choose.
GlyphPicture startingLike(GlyphPicture theirs, const GlyphPicture& ours);

}  // namespace lumadot::test
