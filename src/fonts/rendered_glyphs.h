#pragma once

// Glyphs drawn from a font file as a run asks for them, at the run's size,
// with no font files built first.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/result.h"
#include "extract/glyph_source.h"

namespace lumadot {

class RenderedGlyphs final : public GlyphSource {
 public:
  // The double-byte glyphs from face `face` of `font`, the single-byte ones
  // from `asciiFont` (its face 0) or, when that is empty, from `font` too,
  // each at a pixel size of the cell's height. Fails with "PATH: what is
  // wrong" when a font cannot be used.
  static Result<RenderedGlyphs> open(const std::filesystem::path& font, int face,
                                     const std::filesystem::path& asciiFont, CellSize cell);

  RenderedGlyphs(RenderedGlyphs&&) noexcept;
  RenderedGlyphs& operator=(RenderedGlyphs&&) noexcept;
  ~RenderedGlyphs() override;

  CellSize cell() const override;
  Result<void> glyph(const TextCharacter& c, std::span<std::uint8_t> rowsBytes) override;

  // Glyphs so far that were larger than their cell and scaled down to fit.
  std::size_t scaled() const;
  // Characters so far the fonts have no glyph for (blank), each once.
  const std::vector<char32_t>& missing() const;
  // The fonts and how their glyphs are drawn, for the summary.
  std::string description() const;

 private:
  struct State;
  explicit RenderedGlyphs(std::unique_ptr<State> state);
  std::unique_ptr<State> m_state;
};

}  // namespace lumadot
