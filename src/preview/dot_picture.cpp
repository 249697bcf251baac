#include "preview/dot_picture.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <stdexcept>

namespace lumadot {

namespace {

int glyphWidth(const GlyphEntry& entry) { return entry.dots.width; }

}  // namespace

DotPicture::DotPicture(const std::vector<std::uint16_t>& columns) : m_columns(columns.begin(), columns.end()) {
  if (!m_columns.empty()) m_glyphStarts.push_back(0);
}

bool DotPicture::lit(int x, int y) const {
  if (x < 0 || x >= width() || y < 0 || y >= m_height) return false;
  return ((m_columns[static_cast<std::size_t>(x)] >> y) & 1U) != 0;
}

std::uint16_t DotPicture::column(int x) const { return static_cast<std::uint16_t>(dotsOf(x) & 0xFFFFU); }

std::uint64_t DotPicture::dotsOf(int x) const {
  if (x < 0 || x >= width()) return 0;
  return m_columns[static_cast<std::size_t>(x)];
}

DotPicture drawGlyphs(std::span<const GlyphEntry> entries, const ByteLayout& layout) {
  std::size_t totalWidth = 0;
  for (const GlyphEntry& entry : entries) totalWidth += static_cast<std::size_t>(glyphWidth(entry));
  if (totalWidth > static_cast<std::size_t>(INT_MAX)) throw std::length_error("drawGlyphs: picture too wide");

  DotPicture picture;
  // As high as the tallest glyph; with none, as high as the sign.
  if (!entries.empty()) picture.m_height = 0;
  for (const GlyphEntry& entry : entries) picture.m_height = std::max(picture.m_height, entry.dots.height);
  picture.m_columns.reserve(totalWidth);
  picture.m_glyphStarts.reserve(entries.size());
  for (const GlyphEntry& entry : entries) {
    picture.m_glyphStarts.push_back(picture.width());
    // A truncated entry's missing bytes stay dark.
    const GlyphPicture glyph = decodeGlyph(entry.bytes, entry.dots, layout);
    for (int x = 0; x < glyph.width; ++x) {
      std::uint64_t column = 0;
      for (int y = 0; y < glyph.height; ++y) {
        if (glyph.lit(x, y)) column |= std::uint64_t{1} << y;
      }
      picture.m_columns.push_back(column);
    }
  }
  return picture;
}

}  // namespace lumadot
