#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumadot {

struct TextCharacter {
  std::u16string_view text;  // one character: one UTF-16 unit or a surrogate pair
  std::int16_t code;         // ansiCode of it: >= 0 single-byte, < 0 double-byte
};

inline bool isDoubleByte(const TextCharacter& c) { return c.code < 0; }

// The characters of a text that get a glyph, in order. A carriage return and
// the character after it (normally the line feed of a CR LF pair) are skipped.
// The lookup walk and the listing use this one rule, so every listing entry
// finds its own glyph's character.
class CharacterWalk {
 public:
  explicit CharacterWalk(std::u16string_view text) : m_text(text) {}

  std::optional<TextCharacter> next();

 private:
  std::u16string_view m_text;
  std::size_t m_pos = 0;
};

}  // namespace lumadot
