#include "support/font_bitmaps.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>

namespace lumadot::test {

struct FontBitmaps::Face {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Face() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
};

FontBitmaps::FontBitmaps(const std::filesystem::path& file, int face, int pixels) : m_face(std::make_unique<Face>()) {
  EXPECT_EQ(FT_Init_FreeType(&m_face->library), 0);
  EXPECT_EQ(FT_New_Face(m_face->library, file.string().c_str(), face, &m_face->face), 0) << file;
  if (m_face->face) {
    EXPECT_EQ(FT_Set_Pixel_Sizes(m_face->face, 0, static_cast<FT_UInt>(pixels)), 0) << file;
  }
}

FontBitmaps::~FontBitmaps() = default;

namespace {

// The glyph's bitmap in one bit a dot, or nothing.
const FT_Bitmap* loadBitmap(FT_Face face, char32_t character) {
  if (!face) return nullptr;
  const FT_UInt index = FT_Get_Char_Index(face, character);
  const auto mono = FT_LOAD_RENDER | FT_LOAD_MONOCHROME | FT_LOAD_TARGET_MONO | FT_LOAD_NO_AUTOHINT;
  if (index == 0 || FT_Load_Glyph(face, index, mono) != 0) return nullptr;
  return face->glyph->bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? &face->glyph->bitmap : nullptr;
}

int firstLitColumn(const GlyphPicture& picture) {
  int first = 64;
  for (const auto row : picture.rows) first = std::min(first, std::countl_zero(row));
  return first;
}

}  // namespace

bool FontBitmaps::fits(char32_t character, Dots cell) {
  const FT_Bitmap* bitmap = loadBitmap(m_face->face, character);
  return !bitmap || (static_cast<int>(bitmap->width) <= cell.width && static_cast<int>(bitmap->rows) <= cell.height);
}

GlyphPicture startingLike(GlyphPicture theirs, const GlyphPicture& ours) {
  if (theirs.litCount() == 0 || ours.litCount() == 0) return theirs;
  const int shift = firstLitColumn(theirs) - firstLitColumn(ours);
  const std::uint64_t cell = ~(~std::uint64_t{0} >> theirs.width);
  for (auto& row : theirs.rows) row = (shift >= 0 ? row << shift : row >> -shift) & cell;
  return theirs;
}

std::optional<GlyphPicture> FontBitmaps::glyph(char32_t character, Dots cell, int baseline) {
  FT_Face face = m_face->face;
  const FT_Bitmap* loaded = loadBitmap(face, character);
  if (!loaded) return std::nullopt;
  const FT_Bitmap& bitmap = *loaded;
  const int rows = static_cast<int>(bitmap.rows), columns = static_cast<int>(bitmap.width);
  const int top = std::clamp(baseline - face->glyph->bitmap_top, 0, std::max(0, cell.height - rows));
  const int left = std::clamp(face->glyph->bitmap_left, 0, std::max(0, cell.width - columns));
  GlyphPicture picture(cell);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      const int x = left + c, y = top + r;
      const bool on = (bitmap.buffer[r * bitmap.pitch + c / 8] >> (7 - c % 8)) & 1;
      if (on && x < cell.width && y < cell.height) picture.light(x, y);
    }
  }
  return picture;
}

}  // namespace lumadot::test
