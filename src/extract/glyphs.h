#pragma once

// A text's glyphs as a value: every output of a run (the listing, the source
// formats, the preview, the display frame) is a function of one Glyphs, so a
// run can be held, compared and shown without going back to the text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "extract/byte_layout.h"
#include "extract/font_file.h"
#include "extract/font_layout.h"

namespace lumadot {

// One character's glyph and where its bytes lie in Glyphs::bytes.
struct Glyph {
  std::u16string character;  // one character: one UTF-16 unit or a surrogate pair
  std::int16_t code = 0;     // its ansiCode: >= 0 single-byte (asc16), < 0 double-byte (hzk16)
  std::size_t offset = 0;
  std::size_t size = 0;  // at 16: 16 or 32 bytes

  bool doubleByte() const { return code < 0; }
  int columns() const { return doubleByte() ? 2 : 1; }  // 8-dot columns across

  friend bool operator==(const Glyph&, const Glyph&) = default;
};

struct Glyphs {
  std::vector<std::uint8_t> bytes;  // every glyph's bytes in text order, in the layout asked for
  std::vector<Glyph> glyphs;        // one per character that got a glyph
  CellSize cell{};                  // the double-byte glyphs' size; single-byte ones are half as wide

  int columnCount() const;  // the text's width in 8-dot columns
  Dots dots(const Glyph& glyph) const { return cell.of(glyph.doubleByte()); }

  friend bool operator==(const Glyphs&, const Glyphs&) = default;
};

// Every character of `text` looked up in the fonts (asc16 for single-byte
// characters, hzk16 for double-byte ones) in `layout`. A font that cannot be
// read fails with its warning; a text whose glyphs pass one run's 65,536
// bytes fails with the too-long warning, saying by how much.
Result<Glyphs> lookUp(std::u16string_view text, const ByteLayout& layout, const FontPaths& fonts);

class GlyphSource;
// The same with the glyphs `source` gives, at its size.
Result<Glyphs> lookUp(std::u16string_view text, const ByteLayout& layout, GlyphSource& source);

}  // namespace lumadot
