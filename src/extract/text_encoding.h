#pragma once

// Text saved in another encoding than UTF-8, as sign builders keep their
// texts (GB2312 files, UTF-16 from Windows editors), read into UTF-8.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace lumadot {

enum class TextEncoding { utf8, gb2312, gbk, gb18030, utf16, utf16le, utf16be, big5 };

inline constexpr TextEncoding kTextEncodings[] = {
    TextEncoding::utf8,  TextEncoding::gb2312,  TextEncoding::gbk,     TextEncoding::gb18030,
    TextEncoding::utf16, TextEncoding::utf16le, TextEncoding::utf16be, TextEncoding::big5};

// The names --encoding takes, lower case: "utf-8", "gb2312", ...
std::string_view encodingName(TextEncoding encoding);
// A name as a user may type it ("GBK", "utf8", "UTF-16LE"), or nothing.
std::optional<TextEncoding> encodingNamed(std::string_view name);
std::string_view encodingNameList();  // "utf-8, gb2312, ..."

struct DecodeFailure {
  std::size_t offset = 0;  // of the first byte that is not valid, or of a character cut off at the end
  std::uint8_t byte = 0;   // the byte there
  TextEncoding encoding = TextEncoding::utf8;  // the one the bytes were read in
  // For bytes taken for UTF-8: an encoding they are valid in, which they were likely saved in.
  std::optional<TextEncoding> likely;
  // The bytes are valid, but hold a NUL (at `offset`): no typed text does, and
  // in a file it is the mark of UTF-16 read as something else.
  bool nul = false;

  bool operator==(const DecodeFailure&) const = default;
};

// `bytes` as UTF-8, with a UTF-8 or UTF-16 byte order mark at the start
// dropped. Without an encoding, a UTF-16 byte order mark says the text is
// UTF-16, else it is UTF-8. UTF-16 without a mark is read little-endian, as
// Windows writes it. Bytes that are not valid are never guessed at, and a
// text holding a NUL is refused as well: read as UTF-8, "中A" saved as UTF-16
// without a mark is the valid "-NA" and a NUL.
std::variant<std::string, DecodeFailure> decodeText(std::string_view bytes, std::optional<TextEncoding> encoding);

}  // namespace lumadot
