#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "extract/glyph_entries.h"
#include "formats/source_text.h"

namespace lumadot {

// The keyword that puts a constant in code memory: Keil C51 "code", SDCC "__code".
inline constexpr std::string_view kC51CodeKeyword = "code";
inline constexpr std::string_view kSdccCodeKeyword = "__code";

// Arrays of unsigned char in code memory: one per glyph (PREFIX_k), or with
// `oneTable` a single array PREFIX holding every glyph in order. The listing's
// header line stays as a comment above each glyph's bytes, 16 bytes a line.
// A glyph's header line as a C comment.
void appendHeaderComment(std::string& out, const GlyphEntry& entry);
// An array's bytes, 16 a line; `more` says whether the array goes on after them.
void appendArrayLines(std::string& out, std::span<const std::uint8_t> bytes, bool more);

// With `credit` the credit lines close the file. `spans`, when given, gets
// where each glyph's comment and bytes stand, with its own array's lines.
std::string cSource(std::span<const GlyphEntry> entries, std::string_view prefix, bool oneTable,
                    std::string_view codeKeyword, bool credit, GlyphSpans* spans = nullptr);

}  // namespace lumadot
