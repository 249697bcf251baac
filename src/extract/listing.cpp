#include "extract/listing.h"

#include "extract/font_layout.h"
#include "extract/glyph_entries.h"

namespace lumadot {

void appendByteText(std::u16string& out, std::uint8_t value) {
  static constexpr std::u16string_view kDigits = u"0123456789ABCDEF";
  if (value >= 16) out.push_back(kDigits[value >> 4]);
  out.push_back(kDigits[value & 0x0Fu]);
  out.append(kByteSuffix);
}

ListingResult writeListing(const GlyphBuffer& buffer, std::u16string_view inputText, const ByteHook& hook) {
  ListingResult result;
  const auto bytes = buffer.filled();
  // About four characters a byte and a 40-character header a glyph: one allocation.
  result.text.reserve(bytes.size() * 4 + bytes.size() / kAsc16GlyphSize * 40 + 16);

  for (const GlyphEntry& entry : glyphEntries(buffer, inputText)) {
    result.text.append(kLineBreak);
    result.text.append(kEntryOpener);
    result.text.append(entry.character);
    result.text.append(structureLine(entry.doubleByte));
    result.text.append(kLineBreak);
    result.text.append(kDataLinePrefix);
    for (std::size_t i = 0; i < entry.bytes.size(); ++i) {
      // A double-byte glyph's second data line has no prefix.
      if (i == kBytesPerDataLine) result.text.append(kLineBreak);
      if (hook && !hook(entry.bytes[i])) {
        result.completed = false;
        return result;
      }
      appendByteText(result.text, entry.bytes[i]);
    }
  }
  return result;
}

void appendCreditBlock(std::u16string& listing) {
  listing.append(kLineBreak);
  for (std::size_t i = 0; i < kCreditLines.size(); ++i) {
    listing.append(kLineBreak);
    listing.append(kCreditLines[i]);
  }
}

}  // namespace lumadot
