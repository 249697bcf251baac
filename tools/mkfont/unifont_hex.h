#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <unordered_map>

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

// Keyed by code point. When a file repeats a code, the later line wins.
using UnifontGlyphs = std::unordered_map<char32_t, UnifontGlyph>;

struct UnifontParseError {
  std::size_t line = 0;  // 1-based; 0 when the fault is the whole file, not a line
  std::string message;   // names neither file nor line, so callers can prefix them
};

struct UnifontParseResult {
  UnifontGlyphs glyphs;                     // empty whenever error is set
  std::optional<UnifontParseError> error;
};

// Reads lines "CODE:HEX": CODE is 4 to 6 hex digits up to 10FFFF, HEX is 32
// digits (8 dots wide) or 64 (16 dots wide). Blank lines and lines starting
// with '#' are skipped, as is trailing whitespace (so CRLF files read fine).
// Stops at the first malformed line. A stream without a single glyph is an
// error too, since no font can be built from it.
UnifontParseResult parseUnifontHex(std::istream& in);

// parseUnifontHex on a file; a file that cannot be opened or read is an error
// with line 0.
UnifontParseResult loadUnifontHex(const std::filesystem::path& path);

}  // namespace lumadot
