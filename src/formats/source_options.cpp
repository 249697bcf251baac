#include "formats/source_options.h"

#include <cstdio>

#include "extract/ansi_code.h"
#include "extract/text_codec.h"
#include "extract/text_encoding.h"

namespace lumadot {
namespace {

TextEncoding textEncoding(SourceEncoding encoding) {
  return encoding == SourceEncoding::gbk ? TextEncoding::gbk : TextEncoding::utf8;
}

void appendCodePoint(std::string& out, char32_t ch) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(ch));
  out += code;
}

}  // namespace

std::string_view sourceEncodingName(SourceEncoding encoding) { return encodingName(textEncoding(encoding)); }

std::optional<SourceEncoding> sourceEncodingNamed(std::string_view name) {
  // The names --encoding takes, as it takes them, of the two a source may be written in.
  const auto named = encodingNamed(name);
  for (const SourceEncoding encoding : kSourceEncodings) {
    if (named == textEncoding(encoding)) return encoding;
  }
  return std::nullopt;
}

std::string_view sourceEncodingNameList() { return "utf-8 or gbk"; }

std::string encodedText(std::string_view utf8, SourceEncoding encoding) {
  if (encoding == SourceEncoding::utf8) return std::string(utf8);
  const std::u16string text = utf8ToUtf16(utf8);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < text.size(); pos += characterLength(text, pos)) {
    const char32_t ch = characterAt(text, pos);
    if (ch < 0x80) {
      out += static_cast<char>(ch);
      continue;
    }
    // Code page 936 gives "?" for what it cannot hold; a character beyond ASCII never is one.
    const std::int16_t code = ansiCode(ch);
    if (code >= 0 && code < 0x80) {
      appendCodePoint(out, ch);
    } else if (code >= 0) {
      out += static_cast<char>(code);  // the euro sign, 0x80 alone
    } else {
      out += static_cast<char>(leadByte(code));
      out += static_cast<char>(trailByte(code));
    }
  }
  return out;
}

}  // namespace lumadot
