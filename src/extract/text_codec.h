#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lumadot {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Malformed UTF-8 never stops a conversion: each bad byte becomes U+FFFD, so
// text from a pipe or a command line is never dropped on the floor.
std::u16string utf8ToUtf16(std::string_view utf8);
// Where `utf8` first stops being UTF-8 (the offset of the byte that starts no
// whole character), or nothing when all of it is.
std::optional<std::size_t> firstInvalidUtf8(std::string_view utf8);
// One code point as UTF-16: one unit, or a surrogate pair.
void appendUtf16(std::u16string& out, char32_t cp);
// A lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view utf16);

// One character as it can stand inside a line of text: one that would end or
// garble the line (a control character, a line or paragraph separator) is
// written as U+XXXX instead.
std::string lineSafeCharacter(std::u16string_view character);

// A character is one UTF-16 unit, or two for a surrogate pair.
std::size_t characterLength(std::u16string_view text, std::size_t pos);
// The code point of the character at pos; a lone surrogate is returned as is.
char32_t characterAt(std::u16string_view text, std::size_t pos);

}  // namespace lumadot
