#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/result.h"
#include "extract/font_layout.h"
#include "mkfont/unifont_hex.h"

namespace lumadot {

// A Unifont glyph as one 8-dot asc16 glyph: byte r is row r.
std::array<std::uint8_t, kAsc16GlyphSize> asc16Glyph(const UnifontGlyph& glyph);
// A Unifont glyph as one 16-dot hzk16 cell: bytes 2r and 2r+1 are row r.
std::array<std::uint8_t, kHzk16GlyphSize> hzk16Cell(const UnifontGlyph& glyph);

// A font file's bytes, and how many of the characters it has a place for
// found a glyph in the input. The rest of those places are blank.
struct BuiltFont {
  std::vector<std::uint8_t> bytes;
  std::size_t found = 0;
  std::size_t wanted = 0;
};

// 256 glyphs, byte value c at offset 16c: ASCII printable characters, the
// euro sign at 0x80 (code page 936's single byte 0x80), everything else blank.
BuiltFont buildAsc16(const UnifontGlyphs& glyphs);

// 94 x 94 cells, row by row; cell (R, C), both 1-based, sits at offset
// 32 * ((R-1) * 94 + (C-1)) and holds the character of code page 936 bytes
// 0xA0+R, 0xA0+C. Cells without a character or without a glyph are blank.
// Besides GB2312's 7,445 characters, code page 936 puts a few dozen more of
// its own in empty cells of the grid, and they are wanted too.
BuiltFont buildHzk16(const UnifontGlyphs& glyphs);

// Writes dir/asc16 and dir/hzk16, creating dir if needed. Each file is written
// to a temporary name and renamed into place, so a failure never leaves a
// truncated font behind. A failure names the path that failed.
Result<void> writeFontFiles(const std::filesystem::path& dir, const std::vector<std::uint8_t>& asc16,
                           const std::vector<std::uint8_t>& hzk16);

}  // namespace lumadot
