#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "extract/glyph_entries.h"

// Pieces that assembler and C sources share.
namespace lumadot {

inline constexpr std::string_view kSourceLineBreak = "\r\n";

// Where one glyph stands in a format's text, in bytes from `begin` to `end`:
// its header and its bytes, or the lines holding its bytes. A window picks a
// glyph in the text by it, so it comes from the formatter that wrote the text.
struct TextSpan {
  std::size_t begin = 0;
  std::size_t end = 0;

  friend bool operator==(const TextSpan&, const TextSpan&) = default;
};
using GlyphSpans = std::vector<TextSpan>;

// Notes in `spans`, when asked for, a glyph written from `begin` to the line break `out` ends in.
void noteGlyphSpan(GlyphSpans* spans, std::size_t begin, const std::string& out);

// The spans of glyphs laid one after another over lines of `perLine` bytes:
// each glyph's are the lines its bytes are on. `lineStarts` holds where each
// line starts and, last, where the text after them starts.
GlyphSpans lineSpans(std::span<const GlyphEntry> entries, std::span<const std::size_t> lineStarts,
                     std::size_t perLine);

// The listing's entry header after its ";": "--------中--------字模结构：　16*16　点阵".
// A character that would end or garble a comment line (a control character, a
// line or paragraph separator) is written as U+XXXX instead.
std::string entryHeaderComment(const GlyphEntry& entry);

// Glyph k's label or array name: PREFIX_k, in assembler and C alike.
std::string glyphLabel(std::string_view prefix, std::size_t k);

// The credit lines, each behind `commentMarker`, after an empty line.
void appendCredits(std::string& out, std::string_view commentMarker);

// F8: two uppercase digits, the form every format builds on.
void appendTwoHexDigits(std::string& out, std::uint8_t value);
// 0F8H: two digits, with a leading 0 so that no number starts with a letter.
void appendSuffixHex(std::string& out, std::uint8_t value);
// 0xF8
void appendPrefixHex(std::string& out, std::uint8_t value);

using ByteSpelling = void (*)(std::string&, std::uint8_t);

// A 16-bit word, high digits first: 0B0A1H, 0xB0A1.
void appendSuffixHexWord(std::string& out, std::uint16_t value);
void appendPrefixHexWord(std::string& out, std::uint16_t value);

using WordSpelling = void (*)(std::string&, std::uint16_t);

// The bytes separated by commas, with no comma after the last.
void appendByteList(std::string& out, std::span<const std::uint8_t> bytes, ByteSpelling spell);

}  // namespace lumadot
