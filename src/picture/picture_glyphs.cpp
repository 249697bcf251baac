#include "picture/picture_glyphs.h"

#include <array>
#include <memory>

#include "extract/glyph_buffer.h"
#include "extract/glyph_lookup.h"

namespace lumadot {
namespace {

// The cells' widths, left to right.
std::vector<int> cellWidths(const DotGrid& dots, CellSize cell) {
  const int wide = cell.doubleByte().width;
  const int narrow = cell.singleByte().width;
  std::vector<int> widths;
  int x = 0;
  for (; dots.width - x >= wide; x += wide) widths.push_back(wide);
  for (; x < dots.width; x += narrow) widths.push_back(narrow);
  return widths;
}

// Cell dots from column `left`, in rows as the font files store them; dots past the picture stay dark.
void cellRows(const DotGrid& dots, int left, Dots cell, std::span<std::uint8_t> rows) {
  std::fill(rows.begin(), rows.end(), std::uint8_t{0});
  const auto rowBytes = static_cast<std::size_t>(bandsAcross(cell));
  for (int y = 0; y < cell.height; ++y) {
    for (int x = 0; x < cell.width && left + x < dots.width; ++x) {
      if (!dots.at(left + x, y)) continue;
      rows[static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x / 8)] |=
          static_cast<std::uint8_t>(0x80U >> (x % 8));
    }
  }
}

std::string tooLongReason(std::size_t cells, const std::vector<int>& widths, CellSize cell, Scan scan) {
  std::size_t bytes = 0;
  for (const int width : widths) bytes += glyphSize(cell.of(width == cell.width), scan);
  return "the picture makes " + std::to_string(cells) + " glyphs, " + std::to_string(bytes) +
         " glyph bytes; one run holds " + std::to_string(GlyphBuffer::kCapacity);
}

}  // namespace

std::u16string pictureCellLabel(std::size_t index) {
  const std::string number = std::to_string(index + 1);
  return u"图" + std::u16string(number.begin(), number.end());
}

Result<Glyphs> pictureGlyphs(const DotGrid& dots, const ByteLayout& layout) {
  if (dots.height > Dots::kMaxSide) {
    return Failure("the picture is " + std::to_string(dots.height) + " dots high; a glyph is at most " +
                   std::to_string(Dots::kMaxSide));
  }
  Glyphs result;
  result.cell = CellSize{dots.height, dots.height};
  const std::vector<int> widths = cellWidths(dots, result.cell);
  const auto buffer = std::make_unique<GlyphBuffer>();
  int left = 0;
  for (const int width : widths) {
    const bool wide = width == result.cell.width;
    const Dots cell = result.cell.of(wide);
    std::array<std::uint8_t, kMaxGlyphSize> rows;
    const auto glyph = std::span(rows).first(glyphSize(cell));
    cellRows(dots, left, cell, glyph);
    const auto offset = static_cast<std::size_t>(buffer->fillCount);
    if (auto added = appendGlyph(*buffer, glyph, cell, layout); !added) {
      return Failure(added.error().text, tooLongReason(widths.size(), widths, result.cell, layout.scan))
          .as(added.error().kind, {});
    }
    result.glyphs.push_back({pictureCellLabel(result.glyphs.size()), std::int16_t(wide ? -1 : 0), offset,
                             static_cast<std::size_t>(buffer->fillCount) - offset});
    left += width;
  }
  result.bytes.assign(buffer->filled().begin(), buffer->filled().end());
  return result;
}

}  // namespace lumadot
