#pragma once

// Dots as pixels, the way the PNG and the GIF both draw them: each dot a
// square with, from 3 pixels on, a one-pixel gap on its right and bottom and,
// where two modules of a chain meet, a line down the gap between them.

#include <cstddef>
#include <cstdint>
#include <span>

#include "preview/dot_picture.h"

namespace lumadot {

enum DotPixel : std::uint8_t { kGapPixel = 0, kDarkPixel = 1, kLitPixel = 2, kSeamPixel = 3 };

// Pixels of gap at the right and bottom of a square of `dotSize`.
std::size_t dotGap(std::size_t dotSize);

// The first pixel row of dot row y, for `count` dots from column `first`, into `out`
// (count * dotSize pixels); the square's other rows repeat it, but for the gap row.
void rasterDotRow(const DotPicture& picture, int y, int first, int count, std::size_t dotSize, std::uint8_t* out);

// Whether any of `seams` (the columns a module starts at) shows in a picture `width` dots wide: one
// inside it, with gaps to draw it in.
bool showsSeams(std::span<const int> seams, int width, std::size_t dotSize);
// The seams' lines on a row of pixels as rasterDotRow lays them out, each in the gap left of its column.
void markSeams(std::span<const int> seams, int width, int first, int count, std::size_t dotSize, std::uint8_t* out);

}  // namespace lumadot
