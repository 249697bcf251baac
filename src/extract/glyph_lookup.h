#pragma once

#include <cstdint>
#include <optional>

#include "base/result.h"
#include "extract/font_file.h"
#include "extract/font_layout.h"
#include "extract/glyph_buffer.h"

namespace lumadot {

// A font that cannot be read fails as FontFile::read does; a full buffer
// fails with the warning that the text is too long, keeping what fitted.

// Where a glyph starts in its font file; nothing for a double-byte code
// outside the 94 x 94 grid, which has no cell.
inline std::uint64_t asc16Offset(std::uint8_t code) { return std::uint64_t{code} * kAsc16GlyphSize; }
std::optional<std::uint64_t> hzk16Offset(std::int16_t code);

// Appends the 16 bytes of single-byte code `code` from asc16.
Result<void> english(GlyphBuffer& buffer, FontFile& asc16, std::uint8_t code);

// Appends the 32 bytes of the double-byte character `code` (as ansiCode gives
// it) from hzk16: row by row, or with `split8x16` the left 8 dots of every row
// first and then the right 8 dots. A code outside the 94 x 94 grid has no
// cell, so it gets 32 zero bytes and nothing is read.
Result<void> hzdz(GlyphBuffer& buffer, FontFile& hzk16, std::int16_t code, bool split8x16);

}  // namespace lumadot
