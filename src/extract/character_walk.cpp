#include "extract/character_walk.h"

#include "extract/ansi_code.h"
#include "extract/text_codec.h"

namespace lumadot {

std::optional<TextCharacter> CharacterWalk::next() {
  while (m_pos < m_text.size()) {
    const std::size_t length = characterLength(m_text, m_pos);
    const TextCharacter c{m_text.substr(m_pos, length), ansiCode(characterAt(m_text, m_pos))};
    m_pos += length;
    if (c.code != kCarriageReturnCode) return c;
    if (m_pos < m_text.size()) m_pos += characterLength(m_text, m_pos);
  }
  return std::nullopt;
}

}  // namespace lumadot
