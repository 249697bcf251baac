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

  // The glyph of `character` in a cell of `width` x pixels dots, on row
  // `baseline`, moved just enough to fit; nothing when the font has no such glyph.
  std::optional<GlyphPicture> glyph(char32_t character, int width = 16, int baseline = 14);

 private:
  struct Face;
  std::unique_ptr<Face> m_face;
  int m_pixels;
};

}  // namespace lumadot::test
