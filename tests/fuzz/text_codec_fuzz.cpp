// UTF-8 and UTF-16 decoding, text files in any encoding, the walk over
// characters, and the code-page-936 conversion both ways, over any bytes.

#include <cstring>
#include <string>
#include <string_view>

#include "extract/ansi_code.h"
#include "extract/text_encoding.h"
#include "fuzz/fuzz_input.h"

namespace lumadot::fuzz {
namespace {

bool isSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// Every character is one unit or a whole surrogate pair, and the walk covers the text exactly.
void checkWalk(std::u16string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = characterLength(text, pos);
    FUZZ_EXPECT(length == 1 || length == 2);
    FUZZ_EXPECT(pos + length <= text.size());
    const char32_t ch = characterAt(text, pos);
    FUZZ_EXPECT(length == 2 ? ch >= 0x10000 && ch <= 0x10FFFF : ch == text[pos]);
    const std::string safe = lineSafeCharacter(text.substr(pos, length));
    FUZZ_EXPECT(safe.find_first_of("\r\n\t\v\f") == std::string::npos);

    const std::int16_t code = ansiCode(ch);
    if (code < 0) {  // a double-byte code comes back from its two bytes
      const char bytes[2] = {static_cast<char>(leadByte(code)), static_cast<char>(trailByte(code))};
      FUZZ_EXPECT(fromAnsiBytes({bytes, 2}).has_value());
    }
    pos += length;
  }
}

}  // namespace
}  // namespace lumadot::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumadot;
  using namespace lumadot::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // UTF-8 in: nothing is dropped, and no lone surrogate comes out.
  const std::u16string text = utf8ToUtf16(bytes);
  const std::string back = utf16ToUtf8(text);
  FUZZ_EXPECT(utf8ToUtf16(back) == text);
  if (text.find(u'\uFFFD') == std::u16string::npos) FUZZ_EXPECT(back == bytes);
  checkWalk(text);

  // UTF-16 in, as a window's box may hold it: a lone surrogate becomes one U+FFFD.
  std::u16string units(size / 2, u'\0');
  std::memcpy(units.data(), data, units.size() * 2);
  const std::u16string mended = utf8ToUtf16(utf16ToUtf8(units));
  FUZZ_EXPECT(mended.size() == units.size());
  for (std::size_t i = 0; i < units.size(); ++i) FUZZ_EXPECT(mended[i] == units[i] || isSurrogate(units[i]));
  checkWalk(units);

  // A text file in each encoding: valid UTF-8 out, or the offset of a byte that is there.
  for (const TextEncoding encoding : kTextEncodings) {
    const auto decoded = decodeText(bytes, encoding);
    if (const auto* utf8 = std::get_if<std::string>(&decoded)) {
      FUZZ_EXPECT(utf16ToUtf8(utf8ToUtf16(*utf8)) == *utf8);
    } else {
      const auto& failure = std::get<DecodeFailure>(decoded);
      FUZZ_EXPECT(failure.offset < size && static_cast<std::uint8_t>(bytes[failure.offset]) == failure.byte);
    }
  }

  // Code page 936 bytes in: whatever they name is a code point.
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    if (const auto ch = fromAnsiBytes(bytes.substr(i, 2))) FUZZ_EXPECT(*ch <= 0x10FFFF);
  }
  return 0;
}
