#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "extract/glyph_entries.h"
#include "formats/source_text.h"

namespace lumadot {

// What sets one 8051 assembler's source apart from another's.
struct AssemblerDialect {
  std::string_view preamble;   // a line before the first glyph, or empty
  std::string_view labelEnd;   // ":" local, "::" global
  std::string_view directive;  // the define-byte directive
  ByteSpelling spell;
  std::string_view wordDirective;  // define-word: every one of these stores the high byte first
  WordSpelling spellWord;
};

// Keil A51 and compatibles.
inline constexpr AssemblerDialect kA51{{}, ":", "DB", appendSuffixHex, "DW", appendSuffixHexWord};
// as31 spells its directives with a dot.
inline constexpr AssemblerDialect kAs31{{}, ":", ".db", appendSuffixHex, ".dw", appendSuffixHexWord};
// SDCC's sdas8051: the area makes the file assemble alone, global labels let C reach the glyphs.
inline constexpr AssemblerDialect kSdas{"        .area CSEG (CODE)", "::", ".db", appendPrefixHex, ".dw",
                                       appendPrefixHexWord};

// One define-byte line per 16 bytes.
void appendDataLines(std::string& out, std::span<const std::uint8_t> bytes, const AssemblerDialect& dialect);

// Each glyph as the listing's header line (a comment), a label PREFIX_k, and
// one define-byte line per 16 bytes; with `credit` the credit lines close the file.
// `spans`, when given, gets where each glyph's comment, label and bytes stand.
std::string assemblerSource(std::span<const GlyphEntry> entries, std::string_view prefix,
                            const AssemblerDialect& dialect, bool credit, GlyphSpans* spans = nullptr);

}  // namespace lumadot
