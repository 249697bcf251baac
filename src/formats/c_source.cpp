#include "formats/c_source.h"

#include "extract/listing.h"
#include "formats/source_text.h"

namespace lumadot {
namespace {

void appendArrayOpening(std::string& out, std::string_view name, std::string_view codeKeyword, std::size_t size) {
  out += "unsigned char ";
  out += codeKeyword;
  out += ' ';
  out += name;
  out += '[';
  out += std::to_string(size);
  out += "] = {";
  out += kSourceLineBreak;
}

constexpr std::string_view kArrayClosing = "};";

}  // namespace

void appendHeaderComment(std::string& out, const GlyphEntry& entry) {
  out += "//";
  out += entryHeaderComment(entry);
  out += kSourceLineBreak;
}

void appendArrayLines(std::string& out, std::span<const std::uint8_t> bytes, bool more) {
  for (std::size_t first = 0; first < bytes.size(); first += kBytesPerDataLine) {
    const std::size_t count = std::min(kBytesPerDataLine, bytes.size() - first);
    out += "    ";
    appendByteList(out, bytes.subspan(first, count), appendPrefixHex);
    if (more || first + count < bytes.size()) out += ',';
    out += kSourceLineBreak;
  }
}

std::string cSource(std::span<const GlyphEntry> entries, std::string_view prefix, bool oneTable,
                    std::string_view codeKeyword, bool credit, GlyphSpans* spans) {
  std::string out;
  out.reserve(entries.size() * 260 + 512);
  if (oneTable) {
    std::size_t size = 0;
    for (const auto& entry : entries) size += entry.bytes.size();
    // C has no empty arrays: no glyphs, no table.
    if (size > 0) {
      appendArrayOpening(out, prefix, codeKeyword, size);
      for (std::size_t k = 0; k < entries.size(); ++k) {
        const std::size_t begin = out.size();
        appendHeaderComment(out, entries[k]);
        appendArrayLines(out, entries[k].bytes, k + 1 < entries.size());
        noteGlyphSpan(spans, begin, out);
      }
      out += kArrayClosing;
      out += kSourceLineBreak;
    }
  } else {
    for (std::size_t k = 0; k < entries.size(); ++k) {
      if (k > 0) out += kSourceLineBreak;
      const std::size_t begin = out.size();
      appendHeaderComment(out, entries[k]);
      appendArrayOpening(out, glyphLabel(prefix, k), codeKeyword, entries[k].bytes.size());
      appendArrayLines(out, entries[k].bytes, false);
      out += kArrayClosing;
      out += kSourceLineBreak;
      noteGlyphSpan(spans, begin, out);
    }
  }
  if (credit) appendCredits(out, "//");
  return out;
}

}  // namespace lumadot
