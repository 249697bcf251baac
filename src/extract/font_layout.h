#pragma once

#include <cstddef>

namespace lumadot {

// The two headerless font files. asc16: 256 glyphs of 16 rows, one byte a row.
// hzk16: the 94 x 94 GB2312 grid, row by row, 32 bytes a cell (two bytes a row,
// left 8 dots first). The most significant bit of a byte is the leftmost dot.
inline constexpr std::size_t kAsc16GlyphSize = 16;
inline constexpr std::size_t kAsc16Size = 256 * kAsc16GlyphSize;  // 4,096
inline constexpr std::size_t kHzk16GlyphSize = 32;
inline constexpr int kGridSize = 94;
inline constexpr std::size_t kHzk16Size = std::size_t{kGridSize} * kGridSize * kHzk16GlyphSize;  // 282,752

}  // namespace lumadot
