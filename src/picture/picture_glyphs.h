#pragma once

// A picture's dots as glyphs, so every output of a text run (the listing, the
// source formats, the preview, the display frame) takes a picture as it is.
// The picture, H rows high, is cut left to right into double-byte cells,
// H x H dots, while a whole one fits, then into single-byte cells, ceil(H/2)
// wide, the last padded with dark dots: a 16-row picture gives the 16x16 and
// 8x16 glyphs of a text, and its frame is as wide as its 8-dot columns.
// Each cell is a Glyph whose character is its label, "图1", "图2", ... from the
// left, and whose code says only whether it is double-byte (-1) or single-byte
// (0): no font was asked for it.

#include <string>

#include "base/result.h"
#include "extract/byte_layout.h"
#include "extract/glyphs.h"
#include "picture/picture_dots.h"

namespace lumadot {

// The label of cell `index` (from 0): "图1".
std::u16string pictureCellLabel(std::size_t index);

// The dots cut into cells and laid out in `layout`. A picture taller than
// Dots::kMaxSide rows fails; so does one whose glyph bytes pass one run's
// 65,536, with the too-long warning.
Result<Glyphs> pictureGlyphs(const DotGrid& dots, const ByteLayout& layout);

}  // namespace lumadot
