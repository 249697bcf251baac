#include "extract/listing.h"

#include <algorithm>

#include "extract/font_layout.h"
#include "extract/glyph_entries.h"

namespace lumadot {
namespace {

void appendEntryHeader(std::u16string& out, const GlyphEntry& entry) {
  out.append(kLineBreak);
  out.append(kEntryOpener);
  out.append(entry.character);
  out.append(structureLine(entry.dots));
  out.append(kLineBreak);
  out.append(kDataLinePrefix);
}

// Appends the entry's header and as many of its bytes' texts as `budget`
// allows, counting them off; false when a byte was left out.
bool appendEntry(std::u16string& out, const GlyphEntry& entry, std::size_t& budget) {
  appendEntryHeader(out, entry);
  for (std::size_t i = 0; i < entry.bytes.size(); ++i) {
    // Only a glyph's first data line has the prefix.
    if (i > 0 && i % kBytesPerDataLine == 0) out.append(kLineBreak);
    if (budget == 0) return false;
    --budget;
    appendByteText(out, entry.bytes[i]);
  }
  return true;
}

std::u16string digits(int n) {
  const std::string text = std::to_string(n);
  return {text.begin(), text.end()};
}

}  // namespace

std::u16string structureLine(Dots dots) {
  if (dots == Dots{16, 16}) return std::u16string(kDoubleByteStructure);
  if (dots == Dots{8, 16}) return std::u16string(kSingleByteStructure);
  return u"--------字模结构：　" + digits(dots.width) + u"*" + digits(dots.height) + u"　点阵";
}

void appendByteText(std::u16string& out, std::uint8_t value) {
  static constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
  if (value >= 16) out.push_back(kDigits[value >> 4]);
  out.push_back(kDigits[value & 0x0Fu]);
  out.append(kByteSuffix);
}

std::u16string listingBefore(const Glyphs& glyphs, std::size_t byteCount) {
  std::u16string text;
  // About four characters a byte and a 40-character header a glyph: one allocation.
  const std::size_t bytes = std::min(byteCount, glyphs.bytes.size());
  text.reserve(bytes * 4 + bytes / kAsc16GlyphSize * 40 + 16);
  std::size_t budget = byteCount;
  for (const GlyphEntry& entry : glyphEntries(glyphs)) {
    if (!appendEntry(text, entry, budget)) break;
  }
  return text;
}

std::u16string listingEntry(const GlyphEntry& entry) {
  std::u16string text;
  std::size_t budget = entry.bytes.size();
  appendEntry(text, entry, budget);
  return text;
}

std::u16string listingEntries(const Glyphs& glyphs) { return listingBefore(glyphs, glyphs.bytes.size()); }

void appendCreditBlock(std::u16string& listing) {
  listing.append(kLineBreak);
  for (std::size_t i = 0; i < kCreditLines.size(); ++i) {
    listing.append(kLineBreak);
    listing.append(kCreditLines[i]);
  }
}

std::u16string listing(const Glyphs& glyphs) {
  std::u16string text = listingEntries(glyphs);
  appendCreditBlock(text);
  return text;
}

}  // namespace lumadot
