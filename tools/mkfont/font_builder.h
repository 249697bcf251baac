#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/result.h"
#include "extract/font_layout.h"
#include "fonts/glyph_placement.h"

namespace lumadot {

// A font's glyph for a character, if it has one, at its one size.
using GlyphLookup = std::function<std::optional<SourceGlyph>(char32_t)>;

// A font file's bytes, and how many of the characters it has a place for
// found a glyph in the input. The rest of those places are blank.
struct BuiltFont {
  std::string name;  // the file's: asc16, hzk24, gbk16, ...
  std::vector<std::uint8_t> bytes;
  std::size_t found = 0;
  std::size_t wanted = 0;
  std::size_t scaled = 0;           // glyphs too big for their cell, scaled down to fit
  std::size_t clipped = 0;          // of those, glyphs past SourceGlyph::kMaxInk, cut to their middle when read
  std::vector<char32_t> missing{};  // in the order of the file
};

// What to build: the double-byte cell (the single-byte one is half as wide)
// and the grid of the double-byte file.
struct FontRequest {
  CellSize cell{};
  Charset charset = Charset::gb2312;
};

// The single-byte file (asc16, asc24, ...): 256 glyphs, byte value c in the
// c-th: ASCII printable characters, the euro sign at 0x80 (code page 936's
// single byte 0x80), everything else blank.
// The double-byte file: the charset's grid row by row (see gridPlace), each
// place holding the character of its code page 936 code. Besides GB2312's
// 7,445 characters, code page 936 puts a few dozen more of its own in empty
// places of the 94 x 94 grid, and they are wanted too.
// Glyphs from one face share one baseline, chosen from every glyph they give.
struct BuiltFonts {
  BuiltFont asc16;  // the single-byte file
  BuiltFont hzk16;  // the double-byte file
  int baseline = 0;
  int asciiBaseline = 0;  // the single-byte glyphs', which differs only when they come from a face of their own
};
// The single-byte glyphs come from `ascii` when given, else from `face` too.
BuiltFonts buildFonts(const GlyphFace& face, const FontRequest& request = {}, const GlyphFace* ascii = nullptr);
// asc16 and hzk16 from a font of one size, its baseline row `preferredBaseline` unless its glyphs say otherwise.
BuiltFonts buildFonts(const GlyphLookup& lookup, int preferredBaseline);

struct FontFileBytes {
  std::string name;
  std::span<const std::uint8_t> bytes;
};
// Writes each file into dir, creating dir if needed, through the one file
// writer; none is put in place before all are written in full, so a failure
// never leaves a truncated font behind. A failure names the path that
// failed, the system's reason as its detail when it has one.
Result<void> writeFontFiles(const std::filesystem::path& dir, const std::vector<FontFileBytes>& files);

}  // namespace lumadot
