#include "formats/assembler_source.h"

#include "extract/listing.h"

namespace lumadot {

void appendDataLines(std::string& out, std::span<const std::uint8_t> bytes, const AssemblerDialect& dialect) {
  for (std::size_t first = 0; first < bytes.size(); first += kBytesPerDataLine) {
    out += "        ";
    out += dialect.directive;
    out += ' ';
    appendByteList(out, bytes.subspan(first, std::min(kBytesPerDataLine, bytes.size() - first)), dialect.spell);
    out += kSourceLineBreak;
  }
}

std::string assemblerSource(std::span<const GlyphEntry> entries, std::string_view prefix,
                            const AssemblerDialect& dialect, bool credit, GlyphSpans* spans) {
  std::string out;
  out.reserve(entries.size() * 200 + 512);
  if (!dialect.preamble.empty()) {
    out += dialect.preamble;
    out += kSourceLineBreak;
  }
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::size_t begin = out.size();
    out += ';';
    out += entryHeaderComment(entries[k]);
    out += kSourceLineBreak;
    out += glyphLabel(prefix, k);
    out += dialect.labelEnd;
    out += kSourceLineBreak;
    appendDataLines(out, entries[k].bytes, dialect);
    noteGlyphSpan(spans, begin, out);
  }
  if (credit) appendCredits(out, ";");
  return out;
}

}  // namespace lumadot
