#include "extract/glyphs.h"

#include <memory>
#include <numeric>

#include "extract/character_walk.h"
#include "extract/font_layout.h"
#include "extract/glyph_buffer.h"
#include "extract/glyph_lookup.h"

namespace lumadot {
namespace {

// How far past one run's bytes a text goes, for the too-long warning's reason.
std::string tooLongReason(std::u16string_view text) {
  std::int64_t single = 0;
  std::int64_t wide = 0;
  CharacterWalk characters(text);
  while (const auto c = characters.next()) ++(isDoubleByte(*c) ? wide : single);
  const std::int64_t bytes = single * kAsc16GlyphSize + wide * kHzk16GlyphSize;
  return "the text has " + std::to_string(single) + " single-byte and " + std::to_string(wide) +
         " double-byte characters, " + std::to_string(bytes) + " glyph bytes; one run holds " +
         std::to_string(GlyphBuffer::kCapacity);
}

}  // namespace

int Glyphs::columnCount() const {
  return std::accumulate(glyphs.begin(), glyphs.end(), 0, [](int sum, const Glyph& g) { return sum + g.columns(); });
}

// The lookups fill the one-run buffer they are defined on; the font files
// stay open only for the walk.
Result<Glyphs> lookUp(std::u16string_view text, const ByteLayout& layout, const FontPaths& fonts) {
  FontFile asc16(fonts.asc16, kAsc16Size, fonts.lookedIn);
  FontFile hzk16(fonts.hzk16, kHzk16Size, fonts.lookedIn);
  const auto buffer = std::make_unique<GlyphBuffer>();
  Glyphs result;
  CharacterWalk characters(text);
  while (const auto c = characters.next()) {
    const auto offset = static_cast<std::size_t>(buffer->fillCount);
    auto looked = isDoubleByte(*c) ? hzdz(*buffer, hzk16, c->code, layout)
                                   : english(*buffer, asc16, static_cast<std::uint8_t>(c->code), layout);
    if (!looked) {
      if (buffer->fillCount == GlyphBuffer::kCapacity) return Failure(looked.error().text, tooLongReason(text));
      return looked.error();
    }
    result.glyphs.push_back({std::u16string(c->text), c->code, offset, buffer->fillCount - offset});
  }
  const auto filled = buffer->filled();
  result.bytes.assign(filled.begin(), filled.end());
  return result;
}

}  // namespace lumadot
