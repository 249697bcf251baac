#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "extract/byte_layout.h"

namespace lumadot::test {

// A real font's 16-pixel glyphs through FreeType: the designer's bitmaps where
// the face has that size, as the firmware of a sign built on that font holds them.
class FontBitmaps {
 public:
  // Fails the calling test when the font cannot be opened at 16 pixels.
  FontBitmaps(const std::filesystem::path& file, int face);
  ~FontBitmaps();

  // The glyph of `character` in a cell of `width` x 16 dots, on baseline row
  // 14, moved just enough to fit; nothing when the font has no such glyph.
  std::optional<GlyphPicture> glyph(char32_t character, int width = 16);

 private:
  struct Face;
  std::unique_ptr<Face> m_face;
};

}  // namespace lumadot::test
