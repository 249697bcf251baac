#include "extract/glyph_source.h"

namespace lumadot {

FontFileSource::FontFileSource(const FontPaths& paths)
    : m_cell(paths.cell),
      m_charset(paths.charset),
      m_singleByte(paths.asc16, singleByteFileSize(paths.cell), paths.lookedIn),
      m_doubleByte(paths.hzk16, doubleByteFileSize(paths.cell, paths.charset), paths.lookedIn) {}

std::optional<std::uint64_t> doubleByteOffset(CellSize cell, Charset charset, std::int16_t code) {
  const auto place = gridPlace(charset, code);
  if (!place) return std::nullopt;
  return std::uint64_t{*place} * glyphSize(cell.doubleByte());
}

Result<void> FontFileSource::glyph(const TextCharacter& c, std::span<std::uint8_t> rowsBytes) {
  if (!isDoubleByte(c)) return m_singleByte.read(singleByteOffset(m_cell, static_cast<std::uint8_t>(c.code)), rowsBytes);
  // A code outside the grid has no cell: a blank glyph, and nothing is read.
  const auto offset = doubleByteOffset(m_cell, m_charset, c.code);
  return offset ? m_doubleByte.read(*offset, rowsBytes) : Result<void>{};
}

}  // namespace lumadot
