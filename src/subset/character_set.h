#pragma once

// Which characters a font subset holds, by code: the byte of a single-byte
// character, or lead byte * 256 + trail byte of a double-byte one, just as a
// firmware's GB2312 or GBK text holds it.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"
#include "extract/font_layout.h"

namespace lumadot {

using CharCode = std::uint16_t;

// ansiCode's signed number as the firmware's unsigned one.
inline constexpr CharCode charCode(std::int16_t ansi) { return static_cast<CharCode>(ansi); }

struct CodeRange {
  CharCode from = 0;
  CharCode to = 0;
};

// "FROM-TO", each end a hex code (0x20, 0xB0A1) or one character standing
// for its code (UTF-8): "0x20-0x7E", "啊-齄". Fails, saying why, for any
// other text, a character code page 936 lacks, or FROM past TO.
Result<CodeRange> parseCodeRange(std::string_view text);

// The characters whose codes lie in `range`, in code order: single-byte ones
// of code page 936, double-byte ones at a place of `charset`'s grid. Codes
// that are no character, and the line breaks CR and LF, are skipped.
std::u16string rangeCharacters(const CodeRange& range, Charset charset);

// The characters of `text` each once (the first of any that share a code),
// in code order, without line breaks.
std::u16string distinctCharacters(std::u16string_view text);

}  // namespace lumadot
