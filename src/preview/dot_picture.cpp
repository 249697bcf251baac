#include "preview/dot_picture.h"

#include <climits>
#include <cstddef>
#include <stdexcept>

namespace lumadot {

namespace {

constexpr int kTileWidth = 8;

int glyphWidth(const GlyphEntry& entry) { return entry.doubleByte ? 2 * kTileWidth : kTileWidth; }

// Where the byte holding `row` of tile `tile` (0 left, 1 right) is stored.
std::size_t byteIndex(const GlyphEntry& entry, bool split8x16, int tile, int row) {
  if (!entry.doubleByte) return static_cast<std::size_t>(row);
  const int index = split8x16 ? tile * DotPicture::kHeight + row : 2 * row + tile;
  return static_cast<std::size_t>(index);
}

}  // namespace

bool DotPicture::lit(int x, int y) const {
  if (x < 0 || x >= width() || y < 0 || y >= kHeight) return false;
  return ((m_columns[static_cast<std::size_t>(x)] >> y) & 1U) != 0;
}

DotPicture drawGlyphs(std::span<const GlyphEntry> entries, const PictureLayout& layout) {
  std::size_t totalWidth = 0;
  for (const GlyphEntry& entry : entries) totalWidth += static_cast<std::size_t>(glyphWidth(entry));
  if (totalWidth > static_cast<std::size_t>(INT_MAX)) throw std::length_error("drawGlyphs: picture too wide");

  DotPicture picture;
  picture.m_columns.reserve(totalWidth);
  picture.m_glyphStarts.reserve(entries.size());
  for (const GlyphEntry& entry : entries) {
    picture.m_glyphStarts.push_back(picture.width());
    for (int tile = 0; tile < glyphWidth(entry) / kTileWidth; ++tile) {
      for (int dot = 0; dot < kTileWidth; ++dot) {
        const auto mask = static_cast<std::uint8_t>(1U << (layout.reverseBits ? dot : kTileWidth - 1 - dot));
        std::uint16_t column = 0;
        for (int row = 0; row < DotPicture::kHeight; ++row) {
          const std::size_t index = byteIndex(entry, layout.split8x16, tile, row);
          // A truncated entry's missing bytes stay dark.
          if (index < entry.bytes.size() && (entry.bytes[index] & mask) != 0) {
            column = static_cast<std::uint16_t>(column | (1U << row));
          }
        }
        picture.m_columns.push_back(column);
      }
    }
  }
  return picture;
}

}  // namespace lumadot
