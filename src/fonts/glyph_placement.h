#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "extract/byte_layout.h"

namespace lumadot {

// A glyph as its font draws it: the ink, where the ink sits relative to the
// pen on the baseline, and how far the pen moves.
struct SourceGlyph {
  // Twice the largest cell: ink that big is scaled down whole. Ink beyond it
  // is no glyph drawn at a cell's size but a broken font's, and the reader
  // keeps only its middle.
  static constexpr int kMaxInk = 2 * Dots::kMaxSide;

  int advance = 0;  // dots the pen moves
  int left = 0;     // columns from the pen to the ink's first column
  int top = 0;      // rows of ink above the baseline, the first ink row included
  int width = 0;    // ink size in dots, at most kMaxInk each
  int height = 0;
  bool cut = false;                 // the reader kept only the middle kMaxInk of a bigger bitmap
  std::vector<std::uint64_t> bits;  // row by row, words() each; bit 63 of a row's first word is its leftmost dot

  int words() const { return (width + 63) / 64; }
  bool lit(int x, int y) const {
    return (bits[static_cast<std::size_t>(y * words() + x / 64)] >> (63 - x % 64)) & 1U;
  }
  void light(int x, int y) { bits[static_cast<std::size_t>(y * words() + x / 64)] |= std::uint64_t{1} << (63 - x % 64); }

  // Builds the ink from a `width` x `height` bitmap, keeping the middle kMaxInk
  // of each side; dot(x, y) says whether a dot of the whole bitmap is lit.
  template <typename Dot>
  static SourceGlyph fromBitmap(int advance, int left, int top, int width, int height, const Dot& dot);
  // Ink of `width` x `height` (at most kMaxInk each) with no dot lit yet.
  static SourceGlyph blank(int advance, int left, int top, int width, int height);
};

// A face as the placement reads it: its glyph for a character at a pixel
// size (nothing when it has none), the size it is read at, and the baseline
// row its own metrics give.
struct GlyphFace {
  std::function<std::optional<SourceGlyph>(char32_t character, int pixels)> draw;
  int pixels = 16;
  int ascent = 0;
  bool redraws = false;  // it draws outlines, so a smaller size gives a sharper glyph than fewer dots

  std::optional<SourceGlyph> glyph(char32_t character) const { return draw(character, pixels); }
};

// The row whose top edge is the baseline for every glyph of a face: the one
// that lets the most glyphs sit in a cell `cellHeight` rows high without
// moving, ties going to the row nearest `preferred` (what the face itself
// says). Missing glyphs have no say.
int chooseBaseline(std::span<const std::optional<SourceGlyph>> glyphs, int preferred, int cellHeight);

struct PlacedGlyph {
  GlyphPicture picture;
  bool scaled = false;  // the ink was bigger than the cell and was made smaller to fit
};

// Places a glyph in a cell: its advance box centred and the ink at its
// bearing in that box, on `baseline`. Ink that would stick out but fits the
// cell is moved just enough to fit; bigger ink is scaled down, keeping its
// shape, until it fits, and then placed the same way.
PlacedGlyph placeGlyph(const SourceGlyph& glyph, Dots cell, int baseline);

// The same for `character`'s glyph as `face` draws it at its size: one too
// big is first drawn again smaller where the face draws outlines, so its
// strokes stay whole dots; only what still does not fit has its dots scaled.
PlacedGlyph fitGlyph(const GlyphFace& face, char32_t character, const SourceGlyph& glyph, Dots cell, int baseline);

template <typename Dot>
SourceGlyph SourceGlyph::fromBitmap(int advance, int left, int top, int width, int height, const Dot& dot) {
  const int firstColumn = width > kMaxInk ? (width - kMaxInk) / 2 : 0;
  const int firstRow = height > kMaxInk ? (height - kMaxInk) / 2 : 0;
  SourceGlyph glyph = blank(advance, left + firstColumn, top - firstRow, width > kMaxInk ? kMaxInk : width,
                            height > kMaxInk ? kMaxInk : height);
  glyph.cut = width > kMaxInk || height > kMaxInk;
  for (int y = 0; y < glyph.height; ++y) {
    for (int x = 0; x < glyph.width; ++x) {
      if (dot(firstColumn + x, firstRow + y)) glyph.light(x, y);
    }
  }
  return glyph;
}

}  // namespace lumadot
