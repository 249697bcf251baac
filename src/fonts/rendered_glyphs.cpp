#include "fonts/rendered_glyphs.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "base/utf8_path.h"
#include "fonts/cell_character.h"
#include "fonts/freetype_font.h"
#include "fonts/glyph_placement.h"

namespace lumadot {
namespace {

// The baseline comes from every this-many'th character the font files hold:
// a few hundred glyphs of every kind, in the proportions lumadot-mkfont
// chooses its baseline from, so both place a font's glyphs alike.
constexpr std::size_t kSampleStep = 16;

// The characters the font files hold, the single-byte file's and then the
// GB2312 grid's, in the files' order; every `step`th of them.
std::vector<char32_t> fileCharacters(bool singleByte, bool doubleByte, std::size_t step) {
  std::vector<char32_t> characters;
  std::size_t index = 0;
  const auto take = [&](std::int16_t code) {
    const auto character = cellCharacter(code);
    if (character && index++ % step == 0) characters.push_back(*character);
  };
  for (int code = 0; singleByte && code < 256; ++code) take(static_cast<std::int16_t>(code));
  for (std::size_t place = 0; doubleByte && place < gridPlaces(Charset::gb2312); ++place) {
    take(gridCode(Charset::gb2312, place));
  }
  return characters;
}

int baselineOf(const GlyphFace& face, std::vector<char32_t> characters, int cellHeight) {
  std::vector<std::optional<SourceGlyph>> glyphs;
  glyphs.reserve(characters.size());
  for (const char32_t c : characters) glyphs.push_back(face.glyph(c));
  return chooseBaseline(glyphs, face.ascent, cellHeight);
}

std::string described(const std::filesystem::path& path, const FreeTypeFont& font, int baseline) {
  return utf8Path(path) + ": " + font.description() + ", baseline at row " + std::to_string(baseline);
}

}  // namespace

struct RenderedGlyphs::State {
  CellSize cell;
  FreeTypeFont font;
  std::optional<FreeTypeFont> ascii;
  GlyphFace face;
  GlyphFace asciiFace;
  int baseline = 0;
  int asciiBaseline = 0;
  std::string description;
  // Each character's glyph in rows, drawn once: a text repeats characters.
  std::unordered_map<std::int16_t, std::vector<std::uint8_t>> drawn;
  std::size_t scaled = 0;
  std::vector<char32_t> missing;

  State(CellSize size, FreeTypeFont opened) : cell(size), font(std::move(opened)), face(font.face()) {}

  void chooseBaselines(const std::filesystem::path& fontPath, const std::filesystem::path& asciiPath);
  std::vector<std::uint8_t> draw(std::int16_t code);
};

void RenderedGlyphs::State::chooseBaselines(const std::filesystem::path& fontPath,
                                            const std::filesystem::path& asciiPath) {
  if (!ascii) {
    baseline = asciiBaseline = baselineOf(face, fileCharacters(true, true, kSampleStep), cell.height);
    description = described(fontPath, font, baseline);
    return;
  }
  baseline = baselineOf(face, fileCharacters(false, true, kSampleStep), cell.height);
  asciiBaseline = baselineOf(asciiFace, fileCharacters(true, false, 1), cell.height);
  description = described(fontPath, font, baseline) + "; the single-byte glyphs from " +
                described(asciiPath, *ascii, asciiBaseline);
}

std::vector<std::uint8_t> RenderedGlyphs::State::draw(std::int16_t code) {
  const bool doubleByte = code < 0;
  const Dots dots = cell.of(doubleByte);
  std::vector<std::uint8_t> rows(glyphSize(dots), 0);
  const auto character = cellCharacter(code);
  if (!character) return rows;
  const GlyphFace& from = doubleByte || !ascii ? face : asciiFace;
  const auto glyph = from.glyph(*character);
  if (!glyph) {
    missing.push_back(*character);
    return rows;
  }
  const PlacedGlyph placed = fitGlyph(from, *character, *glyph, dots, doubleByte ? baseline : asciiBaseline);
  scaled += placed.scaled ? 1 : 0;
  encodeGlyph(placed.picture, ByteLayout{}, rows);
  return rows;
}

Result<RenderedGlyphs> RenderedGlyphs::open(const std::filesystem::path& font, int face,
                                            const std::filesystem::path& asciiFont, CellSize cell) {
  const auto side = [](int n) { return n >= CellSize::kMinSide && n <= CellSize::kMaxSide; };
  if (!side(cell.width) || !side(cell.height)) {
    return Failure(utf8Path(font) + ": cannot draw glyphs of " + cell.name() + " dots; each side is 8 to 64");
  }
  auto opened = FreeTypeFont::open(font, face, cell.height);
  if (!opened) return opened.error();
  auto state = std::make_unique<State>(cell, std::move(*opened));
  if (!asciiFont.empty()) {
    auto ascii = FreeTypeFont::open(asciiFont, 0, cell.height);
    if (!ascii) return ascii.error();
    state->ascii = std::move(*ascii);
    state->asciiFace = state->ascii->face();
  }
  state->chooseBaselines(font, asciiFont);
  return RenderedGlyphs(std::move(state));
}

RenderedGlyphs::RenderedGlyphs(std::unique_ptr<State> state) : m_state(std::move(state)) {}
RenderedGlyphs::RenderedGlyphs(RenderedGlyphs&&) noexcept = default;
RenderedGlyphs& RenderedGlyphs::operator=(RenderedGlyphs&&) noexcept = default;
RenderedGlyphs::~RenderedGlyphs() = default;

CellSize RenderedGlyphs::cell() const { return m_state->cell; }

Result<void> RenderedGlyphs::glyph(const TextCharacter& c, std::span<std::uint8_t> rowsBytes) {
  auto [at, added] = m_state->drawn.try_emplace(c.code);
  if (added) at->second = m_state->draw(c.code);
  std::copy_n(at->second.begin(), std::min(rowsBytes.size(), at->second.size()), rowsBytes.begin());
  return {};
}

std::size_t RenderedGlyphs::scaled() const { return m_state->scaled; }

const std::vector<char32_t>& RenderedGlyphs::missing() const { return m_state->missing; }

std::string RenderedGlyphs::description() const { return m_state->description; }

}  // namespace lumadot
