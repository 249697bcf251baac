#include "extract/undrawn_characters.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>

#include "extract/ansi_code.h"
#include "extract/character_walk.h"
#include "extract/glyph_lookup.h"

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
    const bool past = asc16Offset(static_cast<std::uint8_t>(c.code)) + kAsc16GlyphSize > sizes.asc16;
    return past ? std::optional(Undrawn::pastAsc16End) : std::nullopt;
  }
  const auto offset = hzk16Offset(c.code);
  if (!offset) return Undrawn::outsideGrid;
  return *offset + kHzk16GlyphSize > sizes.hzk16 ? std::optional(Undrawn::pastHzk16End) : std::nullopt;
}

}  // namespace

FontSizes fontSizes(const FontPaths& fonts) {
  return {sizeOr(fonts.asc16, kAsc16Size), sizeOr(fonts.hzk16, kHzk16Size)};
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
