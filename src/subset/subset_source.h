#pragma once

// A font subset as source a firmware links: its glyph count and height, the
// ascending codes, each glyph's offset into the glyph bytes and its width,
// the glyph bytes, and in C a lookup function, PREFIX_find.

#include <string>
#include <string_view>

#include "formats/assembler_source.h"
#include "formats/output_format.h"
#include "formats/source_options.h"
#include "subset/font_subset.h"

namespace lumadot {

// c51, sdcc, a51, as31 and sdas.
bool canWriteSubset(OutputFormat format);

// The subset in `format` (one canWriteSubset takes), its names starting PREFIX_:
// CR LF, in `source`'s encoding, the credit lines at the end as `source` asks.
// The C stands alone: it needs no header.
std::string subsetSource(OutputFormat format, const FontSubset& subset, std::string_view prefix,
                         const SourceOptions& source = {});

// For c51 and sdcc: the declarations of what subsetSource defines, behind an
// include guard. ASCII, the same in every encoding, and without credit lines.
std::string subsetHeader(OutputFormat format, const FontSubset& subset, std::string_view prefix);

// The longest table name is PREFIX_offsets; assemblers tell 31 characters apart.
inline constexpr std::size_t kMaxSubsetPrefixLength = 23;

}  // namespace lumadot
