#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "base/result.h"
#include "extract/byte_layout.h"
#include "extract/font_file.h"
#include "extract/font_layout.h"
#include "extract/glyph_buffer.h"
#include "extract/glyph_source.h"

namespace lumadot {

// A font that cannot be read fails as FontFile::read does; a full buffer
// fails with the warning that the text is too long, keeping what fitted.

// Where a glyph starts in its font file; nothing for a double-byte code
// outside the 94 x 94 grid, which has no cell.
inline std::uint64_t asc16Offset(std::uint8_t code) { return singleByteOffset({}, code); }
std::optional<std::uint64_t> hzk16Offset(std::int16_t code);

// Appends a glyph of `dots`, given as the font files store it, in `layout`.
Result<void> appendGlyph(GlyphBuffer& buffer, std::span<const std::uint8_t> rowsBytes, Dots dots,
                         const ByteLayout& layout);

// Appends the 16 bytes of single-byte code `code` from asc16, in `layout`.
Result<void> english(GlyphBuffer& buffer, FontFile& asc16, std::uint8_t code, const ByteLayout& layout = {});

// Appends the 32 bytes of the double-byte character `code` (as ansiCode gives
// it) from hzk16, in `layout`. A code outside the 94 x 94 grid has no cell,
// so it gets a blank glyph and nothing is read.
Result<void> hzdz(GlyphBuffer& buffer, FontFile& hzk16, std::int16_t code, const ByteLayout& layout = {});

}  // namespace lumadot
