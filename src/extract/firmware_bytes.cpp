#include "extract/firmware_bytes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace lumadot {
namespace {

constexpr std::array<std::string_view, 5> kDataDirectives{"db", ".db", ".byte", "defb", ".defb"};
// Lines that only place or name things, such as a whole source file has.
constexpr std::array<std::string_view, 10> kOtherDirectives{"org",    "cseg",   "rseg",  "end",   "name",
                                                            "public", "extrn",  "using", "segment", "include"};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

template <std::size_t N>
bool isOneOf(std::string_view word, const std::array<std::string_view, N>& words) {
  return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return equalsIgnoringCase(word, w); });
}

bool isLabel(std::string_view word) {
  if (word.size() < 2 || word.back() != ':') return false;
  word.remove_suffix(word.ends_with("::") ? 2 : 1);
  const auto identifier = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.' || c == '$';
  };
  return !word.empty() && !(word[0] >= '0' && word[0] <= '9') && std::all_of(word.begin(), word.end(), identifier);
}

// The text without comments, each replaced by a space (a line comment keeps its line break).
std::string withoutComments(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ';' || text.substr(i, 2) == "//") {
      i = std::min(text.find('\n', i), text.size()) - 1;
      out += ' ';
    } else if (text.substr(i, 2) == "/*") {
      const std::size_t end = text.find("*/", i + 2);
      i = end == std::string_view::npos ? text.size() - 1 : end + 1;
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

// Only what lies inside braces, when there are any; braces become spaces.
std::string insideBraces(const std::string& text) {
  if (text.find('{') == std::string::npos) return text;
  std::string out;
  int depth = 0;
  for (const char c : text) {
    if (c == '{' || c == '}') {
      depth += c == '{' ? 1 : (depth > 0 ? -1 : 0);
      out += ' ';
    } else {
      out += depth > 0 ? c : (c == '\n' ? '\n' : ' ');
    }
  }
  return out;
}

std::optional<unsigned> digitsIn(std::string_view digits, unsigned base) {
  if (digits.empty() || digits.size() > 12) return std::nullopt;
  unsigned value = 0;
  for (const char c : digits) {
    const char d = lower(c);
    const unsigned digit = d >= '0' && d <= '9' ? static_cast<unsigned>(d - '0')
                           : d >= 'a' && d <= 'f' ? static_cast<unsigned>(d - 'a' + 10)
                                                  : 99U;
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
  }
  return value;
}

// A number in any of the usual spellings, or nothing.
std::optional<unsigned> numberIn(std::string_view token) {
  const std::string_view prefix = token.substr(0, 2);
  const char suffix = lower(token.empty() ? '\0' : token.back());
  if (equalsIgnoringCase(prefix, "0x")) return digitsIn(token.substr(2), 16);
  // Before 0b: 0B8H is hexadecimal.
  if (suffix == 'h') return digitsIn(token.substr(0, token.size() - 1), 16);
  if (equalsIgnoringCase(prefix, "0b") && token.size() > 2) return digitsIn(token.substr(2), 2);
  if (token.starts_with('$')) return digitsIn(token.substr(1), 16);
  if (suffix == 'b' && token.size() > 1) {
    if (const auto binary = digitsIn(token.substr(0, token.size() - 1), 2)) return binary;
  }
  return digitsIn(token, 10);
}

Failure unreadable(std::string_view token, std::string_view why) {
  return Failure("cannot read '" + std::string(token) + "' as a byte: " + std::string(why));
}

}  // namespace

Result<std::vector<std::uint8_t>> readFirmwareBytes(std::string_view text) {
  const std::string plain = insideBraces(withoutComments(text));
  std::vector<std::uint8_t> bytes;
  for (std::size_t start = 0; start < plain.size();) {
    const std::size_t end = std::min(plain.find('\n', start), plain.size());
    std::vector<std::string_view> words;
    for (std::size_t i = start; i < end;) {
      const std::size_t wordEnd = std::min(plain.find_first_of(" \t\r\n,", i), end);
      if (wordEnd > i) words.push_back(std::string_view(plain).substr(i, wordEnd - i));
      i = wordEnd + 1;
    }
    start = end + 1;
    std::size_t first = !words.empty() && isLabel(words[0]) ? 1 : 0;
    if (first < words.size()) {
      if (isOneOf(words[first], kDataDirectives)) {
        ++first;
      } else if (words[first].starts_with('.') || isOneOf(words[first], kOtherDirectives)) {
        continue;
      }
    }
    for (std::size_t i = first; i < words.size(); ++i) {
      const auto number = numberIn(words[i]);
      if (!number) return unreadable(words[i], "write bytes as 0x1F, 1FH, 0F8H, 31 or 0b11111");
      if (*number > 0xFF) return unreadable(words[i], "it is more than 255");
      bytes.push_back(static_cast<std::uint8_t>(*number));
    }
  }
  return bytes;
}

}  // namespace lumadot
