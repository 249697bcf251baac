#pragma once

// What a run's glyphs become in the output a user picked, made once for
// every program: the text a box shows, the bytes a save writes, and where
// each glyph stands in the text, told by the formatter that wrote it.

#include <optional>
#include <span>
#include <string>

#include "extract/glyphs.h"
#include "formats/output_format.h"

namespace lumadot {

struct OutputRequest {
  OutputFormat format = OutputFormat::listing;
  SourceNames names;
  // The credit lines or none, and the encoding a save writes the comments in;
  // the listing keeps its credit lines, whatever this says.
  SourceOptions source;
  bool subset = false;  // the font subset's tables, as lumadot-cli font writes them

  friend bool operator==(const OutputRequest&, const OutputRequest&) = default;
};

struct RunOutput {
  std::string text;  // UTF-8, CR LF; bin as a hex view
  std::string file;  // what a save writes: the text in the request's encoding, or bin's raw bytes
  // Glyph k's header and bytes in `text`, or the lines holding its bytes;
  // none for a subset, whose tables hold the glyphs sorted and shared.
  GlyphSpans glyphSpans;
};

// Why the request's format and names do not go together; nothing when they do.
std::optional<std::string> outputProblem(const OutputRequest& request);

// The glyphs as `request` asks (one outputProblem passes); a subset leaves out
// `leftOut`, the characters the font lacks, so that none holds a blank glyph.
RunOutput outputFor(const Glyphs& glyphs, const OutputRequest& request, std::span<const char32_t> leftOut = {});

}  // namespace lumadot
