#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "fonts/glyph_placement.h"

namespace lumadot {

// A font's glyph for a character, if it has one.
using GlyphLookup = std::function<std::optional<SourceGlyph>(char32_t)>;

// A font file's bytes, and how many of the characters it has a place for
// found a glyph in the input. The rest of those places are blank.
struct BuiltFont {
  std::vector<std::uint8_t> bytes;
  std::size_t found = 0;
  std::size_t wanted = 0;
  std::size_t clipped = 0;          // glyphs too big for their cell, cut to its middle
  std::vector<char32_t> missing{};  // in the order of the file
};

// asc16: 256 glyphs of 8 x 16 dots, byte value c at offset 16c: ASCII
// printable characters, the euro sign at 0x80 (code page 936's single byte
// 0x80), everything else blank.
// hzk16: 94 x 94 cells of 16 x 16 dots, row by row; cell (R, C), both
// 1-based, sits at offset 32 * ((R-1) * 94 + (C-1)) and holds the character
// of code page 936 bytes 0xA0+R, 0xA0+C. Besides GB2312's 7,445 characters,
// code page 936 puts a few dozen more of its own in empty cells of the grid,
// and they are wanted too.
// Both share one baseline, the face's, chosen from every glyph they hold.
struct BuiltFonts {
  BuiltFont asc16;
  BuiltFont hzk16;
  int baseline = 0;
};
BuiltFonts buildFonts(const GlyphLookup& lookup, int preferredBaseline);

// Writes dir/asc16 and dir/hzk16, creating dir if needed, through the one file
// writer; neither is put in place before both are written in full, so a
// failure never leaves a truncated font behind. A failure names the path
// that failed, the system's reason as its detail when it has one.
Result<void> writeFontFiles(const std::filesystem::path& dir, const std::vector<std::uint8_t>& asc16,
                           const std::vector<std::uint8_t>& hzk16);

}  // namespace lumadot
