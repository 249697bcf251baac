#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "extract/glyph_entries.h"

// Pieces that assembler and C sources share.
namespace lumadot {

inline constexpr std::string_view kSourceLineBreak = "\r\n";

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
