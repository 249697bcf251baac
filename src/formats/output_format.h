#pragma once

// The glyph bytes as files for 8051 toolchains and programmers. Each format
// reads the run's glyphs through glyphEntries, so every one holds exactly the
// listing's bytes, in its order: assembler source (assembler_source), C arrays
// (c_source), both built on the shared header comments and labels
// (source_text), raw bytes, and Intel HEX (intel_hex).


#include <span>
#include <string>
#include <string_view>

#include "base/result.h"
#include "extract/glyph_entries.h"
#include "formats/source_options.h"
#include "formats/source_text.h"

namespace lumadot {

// The ways a run's glyph bytes can leave the program. The listing is the
// result box's own text; the others are for toolchains and programmers that
// will not take it as it stands.
enum class OutputFormat { listing, a51, as31, sdas, c51, sdcc, bin, hex };

std::string_view formatName(OutputFormat format);
std::string_view formatNameList();  // "listing, a51, ..." for messages

// Assembler and C sources label their glyphs; only C puts them in one table.
bool hasLabels(OutputFormat format);
bool canMakeTable(OutputFormat format);

struct SourceNames {
  std::string prefix = "ZI";  // glyph k is PREFIX_k; a table is PREFIX itself
  bool oneTable = false;
};

inline constexpr std::size_t kMaxPrefixLength = 24;
// Fails, saying why, when `prefix` cannot name glyphs in every assembler and C compiler.
Result<void> checkPrefix(std::string_view prefix);

// The glyphs as a file in `format`, which is any but the listing: text with
// CR LF line breaks, in `source`'s encoding (a box that shows it wants UTF-8),
// with the credit lines at the end as `source` asks; or raw bytes for bin.
// Every format carries the glyph bytes as they stand, in order. `spans`,
// when given, gets where each glyph stands in a UTF-8 text (none for bin).
std::string formatGlyphs(OutputFormat format, std::span<const GlyphEntry> entries, const SourceNames& names,
                         const SourceOptions& source = {}, GlyphSpans* spans = nullptr);

}  // namespace lumadot
