#include "run/output_for.h"

#include "extract/glyph_entries.h"
#include "extract/listing.h"
#include "extract/text_codec.h"
#include "formats/intel_hex.h"
#include "subset/font_subset.h"
#include "subset/subset_source.h"

namespace lumadot {
namespace {

// The listing in UTF-8 an entry at a time, so that each entry's span is known.
std::string listingText(const Glyphs& glyphs, GlyphSpans& spans) {
  std::string text;
  for (const GlyphEntry& entry : glyphEntries(glyphs)) {
    const std::size_t begin = text.size() + kSourceLineBreak.size();  // the entry opens with a line break
    text += utf16ToUtf8(listingEntry(entry));
    spans.push_back({begin, text.size()});
  }
  std::u16string credit;
  appendCreditBlock(credit);
  return text + utf16ToUtf8(credit);
}

// The box's text: UTF-8, whatever a save writes.
std::string shownText(const Glyphs& glyphs, const OutputRequest& request, std::span<const char32_t> leftOut,
                      GlyphSpans& spans) {
  const SourceOptions shown{request.source.credit, SourceEncoding::utf8};
  if (request.subset) {
    FontSubset subset = fontSubset(glyphs);
    leaveOut(subset, leftOut);
    return subsetSource(request.format, subset, request.names.prefix, shown);
  }
  if (request.format == OutputFormat::listing) return listingText(glyphs, spans);
  const auto entries = glyphEntries(glyphs);
  if (request.format == OutputFormat::bin) {
    std::vector<std::size_t> lineStarts;
    std::string view = hexView(glyphs.bytes, &lineStarts);
    spans = lineSpans(entries, lineStarts, kHexViewLine);
    return view;
  }
  return formatGlyphs(request.format, entries, request.names, shown, &spans);
}

}  // namespace

std::optional<std::string> outputProblem(const OutputRequest& request) {
  if (request.subset && !canWriteSubset(request.format)) {
    return "a font subset is written as a51, as31, sdas, c51 or sdcc source";
  }
  if (request.names.oneTable && !canMakeTable(request.format)) return "one table goes with c51 or sdcc";
  if (auto prefix = checkPrefix(request.names.prefix); !prefix) return prefix.error().text;
  return std::nullopt;
}

RunOutput outputFor(const Glyphs& glyphs, const OutputRequest& request, std::span<const char32_t> leftOut) {
  RunOutput output;
  output.text = shownText(glyphs, request, leftOut, output.glyphSpans);
  // Encoding the UTF-8 text gives the bytes writing it encoded would.
  output.file = request.format == OutputFormat::bin && !request.subset
                    ? formatGlyphs(OutputFormat::bin, glyphEntries(glyphs), request.names)
                    : encodedText(output.text, request.source.encoding);
  return output;
}

}  // namespace lumadot
