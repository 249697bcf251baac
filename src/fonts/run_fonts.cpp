#include "fonts/run_fonts.h"

#include "base/utf8_path.h"
#include "extract/font_location.h"
#include "extract/glyph_source.h"
#include "fonts/rendered_glyphs.h"

namespace lumadot {

RunFonts::RunFonts(const std::filesystem::path& fontDir, const FontChoice& choice,
                   const std::filesystem::path& programDir)
    : m_paths(locateFonts(fontDir, programDir, choice.cell, choice.charset)) {
  if (!choice.rendered()) return;
  m_fontFile = choice.file;
  auto opened = RenderedGlyphs::open(pathFromUtf8(choice.file), choice.face, pathFromUtf8(choice.asciiFile), choice.cell);
  if (opened) {
    m_rendered = std::make_unique<RenderedGlyphs>(std::move(*opened));
  } else {
    m_failure = Failure(opened.error()).in(FailureCategory::font);
  }
}

RunFonts::RunFonts(RunFonts&&) noexcept = default;
RunFonts::~RunFonts() = default;

GlyphSource& RunFonts::source() {
  if (m_rendered) return *m_rendered;
  if (!m_files) m_files = std::make_unique<FontFileSource>(m_paths);
  return *m_files;
}

std::vector<UndrawnCharacter> RunFonts::undrawn(std::u16string_view text) const {
  auto undrawn = undrawnCharacters(text, fontSizes(m_paths));
  if (m_rendered) std::erase_if(undrawn, [](const UndrawnCharacter& c) { return c.why != Undrawn::questionMark; });
  return undrawn;
}

}  // namespace lumadot
