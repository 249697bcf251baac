#include "subset/character_set.h"

#include <charconv>
#include <map>
#include <optional>

#include "extract/ansi_code.h"
#include "extract/text_codec.h"

namespace lumadot {
namespace {

// 'text', grown in place: GCC 12 warns of an overlap (bug 105651) when a
// literal is put before a temporary string.
std::string quoted(std::string_view text) { return std::string("'").append(text).append("'"); }

bool isLineBreak(char32_t c) { return c == U'\r' || c == U'\n'; }

// "0x" and one to four hex digits.
std::optional<CharCode> hexCode(std::string_view text) {
  if (text.size() < 3 || text.size() > 6 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data() + 2, text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return static_cast<CharCode>(value);
}

Result<CharCode> endCode(std::string_view text) {
  if (const auto code = hexCode(text)) return *code;
  const std::u16string character = utf8ToUtf16(text);
  if (character.empty() || characterLength(character, 0) != character.size() ||
      character.find(u'\uFFFD') != std::u16string::npos) {
    return Failure(quoted(text) + " is neither a hex code such as 0xB0A1 nor one character");
  }
  const std::int16_t code = ansiCode(characterAt(character, 0));
  if (code == kQuestionMarkCode && character != u"?") return Failure(quoted(text) + " is not in code page 936");
  return charCode(code);
}

// The character code page 936 gives `code`, if that character's code is `code` again.
std::optional<char32_t> characterOf(CharCode code) {
  std::string bytes;
  if (code > 0xFF) bytes.push_back(static_cast<char>(code >> 8));
  bytes.push_back(static_cast<char>(code & 0xFFu));
  const auto c = fromAnsiBytes(bytes);
  if (!c || isLineBreak(*c) || charCode(ansiCode(*c)) != code) return std::nullopt;
  return c;
}

}  // namespace

Result<CodeRange> parseCodeRange(std::string_view text) {
  // The first end is a hex code or one character, so the dash after it is the separator, even after "-".
  std::size_t dash = text.find('-', text.starts_with("0x") || text.starts_with("0X") ? 0 : 1);
  if (text.empty() || dash == std::string_view::npos || dash + 1 >= text.size()) {
    return Failure(quoted(text) + " is not FROM-TO");
  }
  const auto from = endCode(text.substr(0, dash));
  if (!from) return from.error();
  const auto to = endCode(text.substr(dash + 1));
  if (!to) return to.error();
  if (*from > *to) return Failure(quoted(text) + " runs backwards: FROM must not come after TO");
  return CodeRange{*from, *to};
}

std::u16string rangeCharacters(const CodeRange& range, Charset charset) {
  std::u16string characters;
  for (std::uint32_t code = range.from; code <= range.to; ++code) {
    if (code > 0xFF && !gridPlace(charset, static_cast<std::int16_t>(code))) continue;
    if (const auto c = characterOf(static_cast<CharCode>(code))) appendUtf16(characters, *c);
  }
  return characters;
}

std::u16string distinctCharacters(std::u16string_view text) {
  std::map<CharCode, std::u16string_view> byCode;
  for (std::size_t pos = 0; pos < text.size(); pos += characterLength(text, pos)) {
    const char32_t c = characterAt(text, pos);
    if (!isLineBreak(c)) byCode.emplace(charCode(ansiCode(c)), text.substr(pos, characterLength(text, pos)));
  }
  std::u16string characters;
  for (const auto& [code, character] : byCode) characters += character;
  return characters;
}

}  // namespace lumadot
