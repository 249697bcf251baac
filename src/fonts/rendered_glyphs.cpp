// Until drawing from font files lands, --font says so and the font files serve.
#include "fonts/rendered_glyphs.h"
namespace lumadot {
struct RenderedGlyphs::State {};
Result<RenderedGlyphs> RenderedGlyphs::open(const std::filesystem::path& font, int, const std::filesystem::path&, CellSize) {
  return Failure(font.string() + ": drawing glyphs from a font file is not built yet");
}
RenderedGlyphs::RenderedGlyphs(std::unique_ptr<State> state) : m_state(std::move(state)) {}
RenderedGlyphs::RenderedGlyphs(RenderedGlyphs&&) noexcept = default;
RenderedGlyphs& RenderedGlyphs::operator=(RenderedGlyphs&&) noexcept = default;
RenderedGlyphs::~RenderedGlyphs() = default;
CellSize RenderedGlyphs::cell() const { return {}; }
Result<void> RenderedGlyphs::glyph(const TextCharacter&, std::span<std::uint8_t>) { return {}; }
std::size_t RenderedGlyphs::scaled() const { return 0; }
const std::vector<char32_t>& RenderedGlyphs::missing() const { static const std::vector<char32_t> none; return none; }
std::string RenderedGlyphs::description() const { return {}; }
}  // namespace lumadot
