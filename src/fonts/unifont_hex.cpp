#include "fonts/unifont_hex.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <limits>
#include <string_view>
#include <system_error>

#include "base/utf8_path.h"
#include "fonts/gzip_reader.h"

namespace lumadot {
namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr std::string_view kExpected = "expected CODE:HEX with 32 or 64 hex digits";
// A glyph line is at most 71 characters; a line far past that is not Unifont
// (a binary file, a gzip bomb), and is refused before it fills memory.
constexpr std::size_t kLongestLine = 4096;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string_view trimTrailingSpace(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Parses one non-blank, non-comment line.
Result<void> parseLine(std::string_view line, char32_t& code, UnifontGlyph& glyph) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) return Failure(std::string(kExpected) + ", found no ':'");

  const std::string_view codeText = line.substr(0, colon);
  if (codeText.size() < 4 || codeText.size() > 6) {
    return Failure(std::string(kExpected) + ", found a code of " + std::to_string(codeText.size()) +
           " characters instead of 4 to 6 hex digits");
  }
  std::uint32_t value = 0;
  for (const char c : codeText) {
    const int v = hexValue(c);
    if (v < 0) return Failure(std::string(kExpected) + ", found '" + std::string(codeText) + "' as the code");
    value = value * 16 + static_cast<std::uint32_t>(v);
  }
  if (value > kLastCodePoint) {
    return Failure("code " + std::string(codeText) + " is beyond the last Unicode code point 10FFFF");
  }

  const std::string_view hex = line.substr(colon + 1);
  if (hex.size() != 32 && hex.size() != 64) {
    return Failure(std::string(kExpected) + ", found " + std::to_string(hex.size()) + " characters after ':'");
  }
  glyph = UnifontGlyph{};
  glyph.width = hex.size() == 32 ? 8 : 16;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int hi = hexValue(hex[i]);
    const int lo = hexValue(hex[i + 1]);
    if (hi < 0 || lo < 0) {
      const std::size_t bad = hi < 0 ? i : i + 1;
      return Failure(std::string(kExpected) + ", found '" + std::string(1, hex[bad]) + "' at column " +
             std::to_string(colon + 2 + bad));
    }
    glyph.bytes[i / 2] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  code = static_cast<char32_t>(value);
  return {};
}

Failure failure(std::string_view source, std::size_t line, std::string_view message) {
  std::string where(source);
  if (line > 0) where.append(":").append(std::to_string(line));
  return Failure(where + ": " + std::string(message));
}

// Reads the next line into `line`, without its line feed. A line that goes
// on past kLongestLine is cut there and `cut` set, unless it is a comment,
// which is skipped to its end. False at the end of the stream.
bool readLine(std::istream& in, std::string& line, bool& cut) {
  line.resize(kLongestLine + 1);
  in.getline(line.data(), static_cast<std::streamsize>(line.size()));
  auto length = static_cast<std::size_t>(in.gcount());  // counts the line feed too
  cut = in.fail() && !in.eof() && length == kLongestLine;
  if (cut) {
    in.clear();
    if (line.front() == '#') {
      in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
      cut = false;
    }
  } else if (length == 0) {
    return false;
  } else if (!in.eof()) {
    --length;
  }
  line.resize(length);
  return true;
}

}  // namespace

Result<UnifontGlyphs> parseUnifontHex(std::istream& in, std::string_view source) {
  UnifontGlyphs glyphs;
  glyphs.reserve(65536);  // a full Unifont plane 0, so the map never rehashes
  std::string buffer;
  std::size_t lineNumber = 0;
  for (bool cut = false; readLine(in, buffer, cut);) {
    ++lineNumber;
    if (cut) return failure(source, lineNumber, "the line is longer than " + std::to_string(kLongestLine) + " characters");
    const std::string_view line = trimTrailingSpace(buffer);
    if (line.empty() || line.front() == '#') continue;
    char32_t code = 0;
    UnifontGlyph glyph;
    if (const auto parsed = parseLine(line, code, glyph); !parsed) return failure(source, lineNumber, parsed.error().text);
    glyphs.insert_or_assign(code, glyph);
  }
  if (in.bad()) return failure(source, 0, "read error");
  if (glyphs.empty()) return failure(source, 0, "no glyphs found");
  return glyphs;
}

Result<UnifontGlyphs> loadUnifontHex(const std::filesystem::path& path) {
  // Opening a directory "succeeds" with some standard libraries and then
  // reads as empty, which would surface as the misleading "no glyphs found".
  std::error_code ec;
  const std::string source = utf8Path(path);
  if (std::filesystem::is_directory(path, ec)) return failure(source, 0, "is a directory");
  std::ifstream in(path, std::ios::binary);
  if (!in) return failure(source, 0, std::string("cannot open: ") + std::strerror(errno));
  // Told apart by content, not name: a .hex.gz renamed .hex still reads.
  if (!startsWithGzipMagic(in)) return parseUnifontHex(in, source);
  GzipReader gunzipped(in);
  std::istream text(&gunzipped);
  auto glyphs = parseUnifontHex(text, source);
  // Data cut short most likely ends in a half line, which the parser would
  // blame; the real cause comes first.
  if (!gunzipped.error().empty()) return failure(source, 0, gunzipped.error());
  return glyphs;
}

SourceGlyph sourceGlyph(const UnifontGlyph& glyph) {
  const int bytesPerRow = glyph.width / 8;
  return SourceGlyph::fromBitmap(glyph.width, 0, kUnifontBaseline, glyph.width, 16, [&](int x, int y) {
    return (glyph.bytes[static_cast<std::size_t>(y * bytesPerRow + x / 8)] >> (7 - x % 8)) & 1;
  });
}

std::optional<SourceGlyph> findSourceGlyph(const UnifontGlyphs& glyphs, char32_t character) {
  const auto it = glyphs.find(character);
  if (it == glyphs.end()) return std::nullopt;
  return sourceGlyph(it->second);
}

GlyphFace unifontFace(const UnifontGlyphs& glyphs) {
  return {[&glyphs](char32_t character, int) { return findSourceGlyph(glyphs, character); }, 16, kUnifontBaseline};
}

}  // namespace lumadot
