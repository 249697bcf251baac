#include "extract/glyphs.h"

#include <algorithm>
#include <array>
#include <memory>
#include <span>
#include <numeric>

#include "extract/character_walk.h"
#include "extract/font_layout.h"
#include "extract/glyph_buffer.h"
#include "extract/glyph_lookup.h"
#include "extract/glyph_source.h"

namespace lumadot {
namespace {

// The too-long warning, with how far past one run's bytes the text goes beneath.
Failure tooLong(const Failure& warning, std::u16string_view text, CellSize cell, Scan scan) {
  std::int64_t single = 0;
  std::int64_t wide = 0;
  CharacterWalk characters(text);
  while (const auto c = characters.next()) ++(isDoubleByte(*c) ? wide : single);
  const auto bytes = single * static_cast<std::int64_t>(glyphSize(cell.singleByte(), scan)) +
                     wide * static_cast<std::int64_t>(glyphSize(cell.doubleByte(), scan));
  return Failure(warning.text, "the text has " + std::to_string(single) + " single-byte and " + std::to_string(wide) +
                                   " double-byte characters, " + std::to_string(bytes) + " glyph bytes; one run holds " +
                                   std::to_string(GlyphBuffer::kCapacity))
      .as(warning.kind, warning.subject)
      .because({CauseKind::textTooLong, {}, {single, wide, bytes, GlyphBuffer::kCapacity}});
}

}  // namespace

int Glyphs::columnCount() const {
  return std::accumulate(glyphs.begin(), glyphs.end(), 0, [](int sum, const Glyph& g) { return sum + g.columns(); });
}

// The font files stay open only for the walk.
Result<Glyphs> lookUp(std::u16string_view text, const ByteLayout& layout, const FontPaths& fonts) {
  FontFileSource source(fonts);
  return lookUp(text, layout, source);
}

// The lookups fill the one-run buffer they are defined on.
Result<Glyphs> lookUp(std::u16string_view text, const ByteLayout& layout, GlyphSource& source) {
  const auto buffer = std::make_unique<GlyphBuffer>();
  Glyphs result;
  result.cell = source.cell();
  CharacterWalk characters(text);
  while (const auto c = characters.next()) {
    const auto offset = static_cast<std::size_t>(buffer->fillCount);
    const Dots dots = result.cell.of(isDoubleByte(*c));
    std::array<std::uint8_t, kMaxGlyphSize> rows;
    const auto glyph = std::span(rows).first(glyphSize(dots));
    std::fill(glyph.begin(), glyph.end(), std::uint8_t{0});
    auto looked = source.glyph(*c, glyph);
    if (looked) looked = appendGlyph(*buffer, glyph, dots, layout);
    if (!looked) {
      if (buffer->fillCount == GlyphBuffer::kCapacity) {
        return tooLong(looked.error(), text, result.cell, layout.scan);
      }
      return looked.error();
    }
    result.glyphs.push_back({std::u16string(c->text), c->code, offset, static_cast<std::size_t>(buffer->fillCount) - offset});
  }
  const auto filled = buffer->filled();
  result.bytes.assign(filled.begin(), filled.end());
  return result;
}

}  // namespace lumadot
