#include "run/undrawn_report.h"

#include <set>

#include "extract/text_codec.h"
#include "fonts/rendered_glyphs.h"

namespace lumadot {

std::vector<std::u16string_view> UndrawnReport::only(Undrawn why) const {
  std::vector<std::u16string_view> named;
  for (const UndrawnCharacter& c : characters) {
    if (c.why == why) named.push_back(c.character);
  }
  return named;
}

std::vector<std::u16string> UndrawnReport::each() const {
  std::vector<std::u16string> named;
  std::set<std::u16string_view> seen;
  for (const UndrawnCharacter& c : characters) {
    if (seen.insert(c.character).second) named.emplace_back(c.character);
  }
  return named;
}

UndrawnReport undrawnReport(std::u16string_view text, const RunFonts& fonts) {
  UndrawnReport report{fonts.undrawn(text)};
  if (!fonts.rendered()) return report;
  // The drawn font's blanks: only this text's, though the font remembers every run's.
  const auto& missing = fonts.rendered()->missing();
  const std::set<char32_t> blank(missing.begin(), missing.end());
  std::set<std::u16string_view> seen;
  for (std::size_t pos = 0; pos < text.size(); pos += characterLength(text, pos)) {
    const auto character = text.substr(pos, characterLength(text, pos));
    if (blank.contains(characterAt(text, pos)) && seen.insert(character).second) {
      report.characters.push_back({character, Undrawn::notInFont});
    }
  }
  return report;
}

}  // namespace lumadot
