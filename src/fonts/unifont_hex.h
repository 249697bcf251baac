#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/result.h"
#include "fonts/glyph_placement.h"

namespace lumadot {

// One glyph of a GNU Unifont .hex file, 16 dot rows tall, the most
// significant bit of each byte being the leftmost dot.
//  width 8:  bytes[r] is row r; bytes[16..31] are zero.
//  width 16: bytes[2r] and bytes[2r+1] are the left and right halves of row r,
//            which is exactly the layout of an hzk16 cell.
struct UnifontGlyph {
  int width = 0;
  std::array<std::uint8_t, 32> bytes{};

  bool operator==(const UnifontGlyph&) const = default;
};

// Unifont's 16 rows stand 14 above the baseline and 2 below it.
inline constexpr int kUnifontBaseline = 14;

// The glyph as any font draws it, its ink filling its whole box.
SourceGlyph sourceGlyph(const UnifontGlyph& glyph);

// Keyed by code point. When a file repeats a code, the later line wins.
using UnifontGlyphs = std::unordered_map<char32_t, UnifontGlyph>;

// The glyph of `character` in `glyphs`, as sourceGlyph draws it.
std::optional<SourceGlyph> findSourceGlyph(const UnifontGlyphs& glyphs, char32_t character);
// `glyphs` as the placement reads a face: 16 pixels, bitmaps only. It holds
// on to `glyphs`, which must outlive it.
GlyphFace unifontFace(const UnifontGlyphs& glyphs);

// Reads lines "CODE:HEX": CODE is 4 to 6 hex digits up to 10FFFF, HEX is 32
// digits (8 dots wide) or 64 (16 dots wide). Blank lines and lines starting
// with '#' are skipped, as is trailing whitespace (so CRLF files read fine).
// Stops at the first malformed line. A stream without a single glyph is an
// error too, since no font can be built from it. A failure reads
// "SOURCE:LINE: what is wrong", or "SOURCE: what is wrong" for the whole file.
Result<UnifontGlyphs> parseUnifontHex(std::istream& in, std::string_view source);

// parseUnifontHex on a file, named by its path, which may be gzip-compressed.
Result<UnifontGlyphs> loadUnifontHex(const std::filesystem::path& path);

}  // namespace lumadot
