// Every code the encodings can meet, as this build decodes and codes it, one
// line each on stdout. The Linux build (iconv) and the Windows build (code
// pages) must print the same bytes; scripts/code_table_check.sh diffs them.
#include <cstdio>
#include <string>
#include <string_view>
#include <variant>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "extract/ansi_code.h"
#include "extract/text_encoding.h"

namespace lumadot {
namespace {

void putHex(std::string& line, std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (const char c : bytes) {
    line += kDigits[static_cast<unsigned char>(c) >> 4];
    line += kDigits[static_cast<unsigned char>(c) & 0xF];
  }
}

void printDecoded(TextEncoding encoding, std::string_view bytes) {
  std::string line(encodingName(encoding));
  line += ' ';
  putHex(line, bytes);
  const auto decoded = decodeText(bytes, encoding);
  if (const auto* text = std::get_if<std::string>(&decoded)) {
    line += " = ";
    putHex(line, *text);
  } else {
    const auto& failure = std::get<DecodeFailure>(decoded);
    line += " ! " + std::to_string(failure.offset) + ' ' + std::to_string(failure.byte);
    if (failure.likely) line += ' ' + std::string(encodingName(*failure.likely));
  }
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stdout);
}

std::string bytesOf(std::initializer_list<unsigned> values) {
  std::string out;
  for (const unsigned v : values) out += static_cast<char>(v);
  return out;
}

void dumpShortSequences() {
  for (const TextEncoding encoding : kTextEncodings) {
    for (unsigned a = 0; a < 0x100; ++a) printDecoded(encoding, bytesOf({a}));
    for (unsigned a = 0; a < 0x100; ++a) {
      for (unsigned b = 0; b < 0x100; ++b) printDecoded(encoding, bytesOf({a, b}));
    }
  }
}

// GB18030's four-byte codes, and each cut off after three bytes.
void dumpFourByteGb18030() {
  for (unsigned a = 0x81; a <= 0xFE; ++a) {
    for (unsigned b = 0x30; b <= 0x39; ++b) {
      for (unsigned c = 0x81; c <= 0xFE; ++c) {
        printDecoded(TextEncoding::gb18030, bytesOf({a, b, c}));
        for (unsigned d = 0x30; d <= 0x39; ++d) printDecoded(TextEncoding::gb18030, bytesOf({a, b, c, d}));
      }
    }
  }
}

// Pairs of UTF-16 units around the surrogates, in either order of bytes.
void dumpUtf16Pairs() {
  constexpr unsigned kUnits[] = {0x0000, 0x0041, 0x00FF, 0xD7FF, 0xD800, 0xD83D, 0xDBFF, 0xDC00,
                                 0xDE00, 0xDFFF, 0xE000, 0xFEFF, 0xFFFE, 0xFFFF};
  for (const TextEncoding encoding : {TextEncoding::utf16, TextEncoding::utf16le, TextEncoding::utf16be}) {
    const bool big = encoding == TextEncoding::utf16be;
    const auto unit = [big](unsigned u) { return big ? bytesOf({u >> 8, u & 0xFF}) : bytesOf({u & 0xFF, u >> 8}); };
    for (unsigned first = 0xD800; first <= 0xDFFF; ++first) {
      for (const unsigned second : kUnits) printDecoded(encoding, unit(first) + unit(second));
      printDecoded(encoding, unit(first) + bytesOf({0x41}));
    }
    for (const unsigned first : kUnits) {
      for (unsigned second = 0xD800; second <= 0xDFFF; ++second) printDecoded(encoding, unit(first) + unit(second));
      printDecoded(encoding, bytesOf({0x41, 0x00}) + unit(first) + bytesOf({0x41}));
    }
  }
}

void dumpAnsiCodes() {
  for (char32_t ch = 0; ch <= 0x10FFFF; ++ch) std::printf("code %X %d\n", unsigned(ch), int(ansiCode(ch)));
  const auto printFrom = [](const std::string& bytes) {
    std::string line = "char ";
    putHex(line, bytes);
    const auto ch = fromAnsiBytes(bytes);
    line += ch ? ' ' + std::to_string(unsigned(*ch)) : std::string(" none");
    std::puts(line.c_str());
  };
  printFrom("");
  for (unsigned a = 0; a < 0x100; ++a) printFrom(bytesOf({a}));
  for (unsigned a = 0; a < 0x100; ++a) {
    for (unsigned b = 0; b < 0x100; ++b) printFrom(bytesOf({a, b}));
  }
  printFrom("AAA");
}

}  // namespace
}  // namespace lumadot

// With no argument every table; else only those named: decode, gb18030, utf16, ansi.
int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);  // the same line ends as on Linux
#endif
  const auto wanted = [&](std::string_view table) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i) {
      if (argv[i] == table) return true;
    }
    return false;
  };
  if (wanted("decode")) lumadot::dumpShortSequences();
  if (wanted("gb18030")) lumadot::dumpFourByteGb18030();
  if (wanted("utf16")) lumadot::dumpUtf16Pairs();
  if (wanted("ansi")) lumadot::dumpAnsiCodes();
  return std::fflush(stdout) == 0 ? 0 : 1;
}
