#include "extract/text_codec.h"

#include <cstdio>
#include <utility>

namespace lumadot {
namespace {

bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// The code point whose encoding starts at `pos` and its length in bytes; none
// for a byte that starts no character, a cut-off sequence, an overlong one, a
// surrogate or a value past U+10FFFF.
std::optional<std::pair<char32_t, std::size_t>> utf8CharacterAt(std::string_view utf8, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(utf8[pos]);
  if (lead < 0x80) return std::pair<char32_t, std::size_t>{lead, 1};
  std::size_t extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, cp = lead & 0x1Fu, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, cp = lead & 0x0Fu, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, cp = lead & 0x07u, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  std::size_t k = 1;
  for (; k <= extra && pos + k < utf8.size(); ++k) {
    const auto next = static_cast<unsigned char>(utf8[pos + k]);
    if ((next & 0xC0) != 0x80) break;
    cp = (cp << 6) | (next & 0x3Fu);
  }
  if (k != extra + 1 || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
  return std::pair<char32_t, std::size_t>{cp, extra + 1};
}

}  // namespace

void appendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

std::u16string utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    if (const auto decoded = utf8CharacterAt(utf8, i)) {
      appendUtf16(out, decoded->first);
      i += decoded->second;
    } else {
      out.push_back(static_cast<char16_t>(kReplacementCharacter));
      ++i;  // resynchronise on the next byte
    }
  }
  return out;
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view utf8) {
  for (std::size_t i = 0; i < utf8.size();) {
    const auto decoded = utf8CharacterAt(utf8, i);
    if (!decoded) return i;
    i += decoded->second;
  }
  return std::nullopt;
}

std::string lineSafeCharacter(std::u16string_view character) {
  if (character.empty()) return {};
  const char32_t c = characterAt(character, 0);
  if (c >= 0x20 && c != 0x7F && c != 0x85 && c != 0x2028 && c != 0x2029) return utf16ToUtf8(character);
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  return code;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3);
  for (std::size_t pos = 0; pos < utf16.size(); pos += characterLength(utf16, pos)) {
    char32_t cp = characterAt(utf16, pos);
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = kReplacementCharacter;
    appendUtf8(out, cp);
  }
  return out;
}

std::size_t characterLength(std::u16string_view text, std::size_t pos) {
  if (pos + 1 < text.size() && isHighSurrogate(text[pos]) && isLowSurrogate(text[pos + 1])) return 2;
  return 1;
}

char32_t characterAt(std::u16string_view text, std::size_t pos) {
  if (characterLength(text, pos) == 2) {
    return 0x10000 + ((static_cast<char32_t>(text[pos]) - 0xD800) << 10) +
           (static_cast<char32_t>(text[pos + 1]) - 0xDC00);
  }
  return text[pos];
}

}  // namespace lumadot
