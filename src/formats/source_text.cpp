#include "formats/source_text.h"

#include "extract/listing.h"
#include "extract/text_codec.h"

namespace lumadot {
namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

}  // namespace

void appendTwoHexDigits(std::string& out, std::uint8_t value) {
  out.push_back(kHexDigits[value >> 4]);
  out.push_back(kHexDigits[value & 0x0Fu]);
}

void noteGlyphSpan(GlyphSpans* spans, std::size_t begin, const std::string& out) {
  if (spans) spans->push_back({begin, out.size() - kSourceLineBreak.size()});
}

GlyphSpans lineSpans(std::span<const GlyphEntry> entries, std::span<const std::size_t> lineStarts,
                     std::size_t perLine) {
  GlyphSpans spans;
  std::size_t offset = 0;
  for (const GlyphEntry& entry : entries) {
    const std::size_t first = offset / perLine;
    offset += entry.bytes.size();
    const std::size_t after = (offset + perLine - 1) / perLine;
    if (entry.bytes.empty() || after >= lineStarts.size()) {
      spans.push_back({});
      continue;
    }
    spans.push_back({lineStarts[first], lineStarts[after] - kSourceLineBreak.size()});
  }
  return spans;
}

std::string entryHeaderComment(const GlyphEntry& entry) {
  std::string comment = utf16ToUtf8(kEntryOpener.substr(1));
  comment += lineSafeCharacter(entry.character);
  comment += utf16ToUtf8(structureLine(entry.dots));
  return comment;
}

std::string glyphLabel(std::string_view prefix, std::size_t k) {
  return std::string(prefix) + '_' + std::to_string(k);
}

void appendCredits(std::string& out, std::string_view commentMarker) {
  out += kSourceLineBreak;
  for (const auto line : kCreditLines) {
    out += commentMarker;
    out += utf16ToUtf8(line.substr(1));  // the listing's own ";" marker
    out += kSourceLineBreak;
  }
}

void appendSuffixHex(std::string& out, std::uint8_t value) {
  out.push_back('0');
  appendTwoHexDigits(out, value);
  out.push_back('H');
}

void appendPrefixHex(std::string& out, std::uint8_t value) {
  out += "0x";
  appendTwoHexDigits(out, value);
}

void appendSuffixHexWord(std::string& out, std::uint16_t value) {
  out.push_back('0');
  appendTwoHexDigits(out, static_cast<std::uint8_t>(value >> 8));
  appendTwoHexDigits(out, static_cast<std::uint8_t>(value & 0xFFu));
  out.push_back('H');
}

void appendPrefixHexWord(std::string& out, std::uint16_t value) {
  out += "0x";
  appendTwoHexDigits(out, static_cast<std::uint8_t>(value >> 8));
  appendTwoHexDigits(out, static_cast<std::uint8_t>(value & 0xFFu));
}

void appendByteList(std::string& out, std::span<const std::uint8_t> bytes, ByteSpelling spell) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) out.push_back(',');
    spell(out, bytes[i]);
  }
}

}  // namespace lumadot
