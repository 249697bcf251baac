#include "extract/undrawn_characters.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>

#include "extract/ansi_code.h"
#include "extract/character_walk.h"
#include "extract/glyph_source.h"

namespace lumadot {
namespace {

std::uint64_t sizeOr(const std::filesystem::path& path, std::uint64_t whole) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? whole : std::min<std::uint64_t>(size, whole);
}

std::optional<Undrawn> whyUndrawn(const TextCharacter& c, const FontSizes& sizes) {
  if (c.code == kQuestionMarkCode && c.text != u"?") return Undrawn::questionMark;
  if (!isDoubleByte(c)) {
    const bool past = singleByteOffset(sizes.cell, static_cast<std::uint8_t>(c.code)) +
                          glyphSize(sizes.cell.singleByte()) >
                      sizes.asc16;
    return past ? std::optional(Undrawn::pastAsc16End) : std::nullopt;
  }
  const auto offset = doubleByteOffset(sizes.cell, sizes.charset, c.code);
  if (!offset) return Undrawn::outsideGrid;
  return *offset + glyphSize(sizes.cell.doubleByte()) > sizes.hzk16 ? std::optional(Undrawn::pastHzk16End)
                                                                      : std::nullopt;
}

}  // namespace

FontSizes fontSizes(const FontPaths& fonts) {
  const std::uint64_t single = singleByteFileSize(fonts.cell);
  const std::uint64_t wide = doubleByteFileSize(fonts.cell, fonts.charset);
  return {sizeOr(fonts.asc16, single), sizeOr(fonts.hzk16, wide), fonts.cell, fonts.charset};
}

std::vector<UndrawnCharacter> undrawnCharacters(std::u16string_view text, const FontSizes& sizes) {
  std::vector<UndrawnCharacter> undrawn;
  std::set<std::u16string_view> seen;
  CharacterWalk characters(text);
  while (const auto c = characters.next()) {
    const auto why = whyUndrawn(*c, sizes);
    if (why && seen.insert(c->text).second) undrawn.push_back({c->text, *why});
  }
  return undrawn;
}

}  // namespace lumadot
