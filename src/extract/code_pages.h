#pragma once

// Characters to and from the code pages Chinese text is kept in, through the
// system's converter: glibc's iconv on Linux (code_pages_iconv.cpp); on
// Windows its code pages, amended to read as glibc does (code_pages_win32.cpp).

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "extract/text_encoding.h"

namespace lumadot {

// One character's bytes in code page 936, or nothing when it has none.
std::optional<std::string> codePage936Bytes(char32_t ch);
// The one character that one or two code page 936 bytes stand for, if any.
std::optional<char32_t> codePage936Character(std::string_view bytes);

// Text in GB2312, GBK, GB18030 or Big5 as UTF-8, or the offset of the first
// byte not valid in it (or of a character cut off at the end).
std::variant<std::string, std::size_t> multiByteToUtf8(std::string_view bytes, TextEncoding encoding);

}  // namespace lumadot
