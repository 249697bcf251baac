#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "extract/byte_layout.h"

namespace lumadot {

// A glyph as its font draws it: the ink, where the ink sits relative to the
// pen on the baseline, and how far the pen moves.
struct SourceGlyph {
  // Ink beyond this is cut to its middle by the reader; such a glyph is far
  // too big for any cell and gets clipped to the same middle dots anyway.
  static constexpr int kMaxInk = 32;

  int advance = 0;  // dots the pen moves
  int left = 0;     // columns from the pen to the ink's first column
  int top = 0;      // rows of ink above the baseline, the first ink row included
  int width = 0;    // ink size in dots, at most kMaxInk each
  int height = 0;
  std::array<std::uint32_t, kMaxInk> rows{};  // bit 31 is the leftmost dot

  // Builds the ink from a `width` x `height` bitmap, keeping the middle kMaxInk
  // of each side; dot(x, y) says whether a dot of the whole bitmap is lit.
  template <typename Dot>
  static SourceGlyph fromBitmap(int advance, int left, int top, int width, int height, const Dot& dot);
};

// The row whose top edge is the baseline for every glyph of a face: the one
// that lets the most glyphs sit in a 16-row cell without moving, ties going
// to the row nearest `preferred` (what the face itself says). Missing glyphs
// have no say.
int chooseBaseline(std::span<const std::optional<SourceGlyph>> glyphs, int preferred);

struct PlacedGlyph {
  GlyphPicture picture;
  bool clipped = false;  // the ink was bigger than the cell and lost dots
};

// Places a glyph in a cell of `cellWidth` x 16 dots: its advance box centred
// and the ink at its bearing in that box, on `baseline`. Ink that would stick
// out but fits the cell is moved just enough to fit; bigger ink keeps its
// middle dots.
PlacedGlyph placeGlyph(const SourceGlyph& glyph, int cellWidth, int baseline);

template <typename Dot>
SourceGlyph SourceGlyph::fromBitmap(int advance, int left, int top, int width, int height, const Dot& dot) {
  SourceGlyph glyph;
  const int firstColumn = width > kMaxInk ? (width - kMaxInk) / 2 : 0;
  const int firstRow = height > kMaxInk ? (height - kMaxInk) / 2 : 0;
  glyph.advance = advance;
  glyph.left = left + firstColumn;
  glyph.top = top - firstRow;
  glyph.width = width > kMaxInk ? kMaxInk : width;
  glyph.height = height > kMaxInk ? kMaxInk : height;
  for (int y = 0; y < glyph.height; ++y) {
    std::uint32_t row = 0;
    for (int x = 0; x < glyph.width; ++x) {
      if (dot(firstColumn + x, firstRow + y)) row |= 1U << (31 - x);
    }
    glyph.rows[static_cast<std::size_t>(y)] = row;
  }
  return glyph;
}

}  // namespace lumadot
