#pragma once

// Which layout a firmware's glyph bytes are in, found by drawing them in
// every layout and comparing each picture with the same character's glyph in
// our fonts. The firmware's font is rarely ours, so the comparison forgives a
// shift of up to two dots, and a dot that is off counts by how far off it is:
// another stroke width or a stroke a dot away costs little, a scrambled
// picture a lot. The bytes of several characters, a font table, are judged
// together: one glyph can fit two layouts about as well, eight seldom do.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/result.h"
#include "extract/byte_layout.h"

namespace lumadot {

struct LayoutFit {
  ByteLayout layout;
  std::vector<GlyphPicture> pictures;  // what the bytes draw in this layout, a picture a glyph
  int misfit = 0;                      // summed over the glyphs; 0: our glyphs dot for dot
  std::vector<ByteLayout> alike;       // later layouts that draw the same pictures
};

// The bytes glyphs of these sizes take one after another, in the row scans
// (rows, row-bands) and in the column scans (columns, column-bands).
struct GlyphBytes {
  std::size_t rowScans = 0;
  std::size_t columnScans = 0;
};
GlyphBytes glyphBytes(std::span<const GlyphPicture> ours);

// Every set of pictures the bytes draw, by the first layout in allLayouts()
// order that draws it, the best fit first. `bytes` are the glyphs of `ours`
// one after another; a layout in which they take another count is left out.
std::vector<LayoutFit> rankLayouts(std::span<const std::uint8_t> bytes, std::span<const GlyphPicture> ours);

// How badly `picture` fits `ours`: every dot of either counted by its
// distance (in dots, up to 8) to the nearest dot of the other, with `picture`
// moved by up to two dots whichever way fits best.
int misfit(const GlyphPicture& picture, const GlyphPicture& ours);

struct Detection {
  LayoutFit best;
  LayoutFit runnerUp;  // the best fit that draws other pictures
  // False when the runner-up fits nearly as well, so that neither can be trusted.
  bool clear = true;
  // The pictures hold hardly a stroke each, too little for any layout to stand out.
  bool fewDots = false;
};

// The two best fits for `bytes`, the glyphs of `ours` one after another, or
// why the bytes cannot tell at all: they take another count of bytes in every
// layout, or draw the same pictures in every layout. Whether the best is far
// enough ahead to be trusted is `clear`; the caller words a close race with
// both layouts.
Result<Detection> detectLayout(std::span<const std::uint8_t> bytes, std::span<const GlyphPicture> ours);
// The same for the bytes of one glyph.
inline Result<Detection> detectLayout(std::span<const std::uint8_t> bytes, const GlyphPicture& ours) {
  return detectLayout(bytes, std::span(&ours, 1));
}

}  // namespace lumadot
