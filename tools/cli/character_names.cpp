#include "cli/character_names.h"

#include <algorithm>

#include "extract/text_codec.h"

namespace lumadot::cli {

std::string namedCharacters(const std::vector<std::u16string_view>& characters) {
  constexpr std::size_t kMostNamed = 20;
  std::string names;
  for (std::size_t i = 0; i < std::min(characters.size(), kMostNamed); ++i) {
    // A control character would act on the terminal instead of being seen.
    names += (names.empty() ? "" : " ") + lineSafeCharacter(characters[i]);
  }
  if (characters.size() > kMostNamed) names += " and " + std::to_string(characters.size() - kMostNamed) + " more";
  return names;
}

std::string namedCharacters(const std::vector<char32_t>& characters) {
  std::vector<std::u16string> texts;
  for (const char32_t c : characters) appendUtf16(texts.emplace_back(), c);
  return namedCharacters(std::vector<std::u16string_view>(texts.begin(), texts.end()));
}

std::string namedCharacters(const std::vector<UndrawnCharacter>& undrawn, Undrawn why) {
  std::vector<std::u16string_view> characters;
  for (const UndrawnCharacter& c : undrawn) {
    if (c.why == why) characters.push_back(c.character);
  }
  return namedCharacters(characters);
}

}  // namespace lumadot::cli
