#include "listing.h"

#include "character_walk.h"
#include "glyph_lookup.h"

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

  CharacterWalk characters(inputText);
  int linePosition = 0;
  bool secondLineDue = false;
  for (const std::uint8_t value : bytes) {
    if (linePosition == 0) {
      if (secondLineDue) {
        result.text.append(kLineBreak);
        secondLineDue = false;
      } else {
        // Past the end of the text (a buffer filled from another text) the
        // entry is still written, as single-byte with no character.
        const auto c = characters.next().value_or(TextCharacter{{}, 0});
        result.text.append(kLineBreak);
        result.text.append(kEntryOpener);
        result.text.append(c.text);
        result.text.append(isDoubleByte(c) ? kDoubleByteStructure : kSingleByteStructure);
        result.text.append(kLineBreak);
        result.text.append(kDataLinePrefix);
        secondLineDue = isDoubleByte(c);
      }
    }
    if (hook && !hook(value)) {
      result.completed = false;
      return result;
    }
    appendByteText(result.text, value);
    linePosition = (linePosition + 1) % 16;
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
