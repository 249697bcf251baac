#include "support/font_bitmaps.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <algorithm>

namespace lumadot::test {

struct FontBitmaps::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Face() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

FontBitmaps::FontBitmaps(const std::filesystem::path& file, int face, int pixels)
    : m_face(std::make_unique<Face>()), m_pixels(pixels) {
  EXPECT_EQ(FT_Init_FreeType(&m_face->library), 0);
  EXPECT_EQ(FT_New_Face(m_face->library, file.c_str(), face, &m_face->face), 0) << file;
  if (m_face->face) {
    EXPECT_EQ(FT_Set_Pixel_Sizes(m_face->face, 0, static_cast<FT_UInt>(pixels)), 0) << file;
  }
}

FontBitmaps::~FontBitmaps() = default;

std::optional<GlyphPicture> FontBitmaps::glyph(char32_t character, int width, int baseline) {
  FT_Face face = m_face->face;
  if (!face) return std::nullopt;
  const FT_UInt index = FT_Get_Char_Index(face, character);
  const auto mono = FT_LOAD_RENDER | FT_LOAD_MONOCHROME | FT_LOAD_TARGET_MONO | FT_LOAD_NO_AUTOHINT;
  if (index == 0 || FT_Load_Glyph(face, index, mono) != 0) return std::nullopt;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return std::nullopt;
  const int rows = static_cast<int>(bitmap.rows), columns = static_cast<int>(bitmap.width);
  const int top = std::clamp(baseline - face->glyph->bitmap_top, 0, std::max(0, m_pixels - rows));
  const int left = std::clamp(face->glyph->bitmap_left, 0, std::max(0, width - columns));
  GlyphPicture picture(Dots{width, m_pixels});
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const int x = left + c, y = top + r;
      const bool on = (bitmap.buffer[r * bitmap.pitch + c / 8] >> (7 - c % 8)) & 1;
      if (on && x < width && y < picture.height) picture.light(x, y);
    }
  }
  return picture;
}

}  // namespace lumadot::test
