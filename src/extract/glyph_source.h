#pragma once

// Where a run's glyphs come from: the font files, or a font drawn at the size
// asked (see fonts/rendered_glyphs.h). The lookup asks each character's glyph
// as the font files store it and turns it into the run's layout itself.

#include <cstdint>
#include <span>

#include "base/result.h"
#include "extract/character_walk.h"
#include "extract/font_file.h"
#include "extract/font_layout.h"

namespace lumadot {

class GlyphSource {
 public:
  virtual ~GlyphSource() = default;

  virtual CellSize cell() const = 0;
  // Fills `rowsBytes` (glyphSize(cell().of(doubleByte)) bytes, all 0 on entry)
  // with `c`'s glyph in rows, bit 7 first, 1 lit. A character the font has
  // no glyph for stays blank; a font that cannot be read fails with its warning.
  virtual Result<void> glyph(const TextCharacter& c, std::span<std::uint8_t> rowsBytes) = 0;
};

// The font files of `paths`, each read once on first use.
class FontFileSource final : public GlyphSource {
 public:
  explicit FontFileSource(const FontPaths& paths);

  CellSize cell() const override { return m_cell; }
  Result<void> glyph(const TextCharacter& c, std::span<std::uint8_t> rowsBytes) override;

 private:
  CellSize m_cell;
  Charset m_charset;
  FontFile m_singleByte;
  FontFile m_doubleByte;
};

// Where a glyph starts in its font file; nothing for a double-byte code the
// grid has no place for.
inline std::uint64_t singleByteOffset(CellSize cell, std::uint8_t code) {
  return std::uint64_t{code} * glyphSize(cell.singleByte());
}
std::optional<std::uint64_t> doubleByteOffset(CellSize cell, Charset charset, std::int16_t code);

}  // namespace lumadot
