#include "extract/text_encoding.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "extract/code_pages.h"
#include "extract/text_codec.h"

namespace lumadot {
namespace {

struct Named {
  TextEncoding encoding;
  std::string_view name;  // as --encoding takes it
};

constexpr std::array<Named, 8> kEncodings{{
    {TextEncoding::utf8, "utf-8"},
    {TextEncoding::gb2312, "gb2312"},
    {TextEncoding::gbk, "gbk"},
    {TextEncoding::gb18030, "gb18030"},
    {TextEncoding::utf16, "utf-16"},
    {TextEncoding::utf16le, "utf-16le"},
    {TextEncoding::utf16be, "utf-16be"},
    {TextEncoding::big5, "big5"},
}};

const Named& named(TextEncoding encoding) {
  return *std::find_if(kEncodings.begin(), kEncodings.end(),
                       [encoding](const Named& n) { return n.encoding == encoding; });
}

// Lower case, without '-' and '_': "UTF_8", "utf8" and "utf-8" are one name.
std::string folded(std::string_view name) {
  std::string out;
  for (const char c : name) {
    if (c != '-' && c != '_') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// The encoding the bytes' mark says, and the mark's length.
std::pair<std::optional<TextEncoding>, std::size_t> byteOrderMark(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return {TextEncoding::utf8, kUtf8Mark.size()};
  if (bytes.starts_with(kUtf16LeMark)) return {TextEncoding::utf16le, kUtf16LeMark.size()};
  if (bytes.starts_with(kUtf16BeMark)) return {TextEncoding::utf16be, kUtf16BeMark.size()};
  return {std::nullopt, 0};
}

// Text in UTF-8, or the offset of the first byte not valid in the encoding.
using Converted = std::variant<std::string, std::size_t>;

bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// By hand on every system, as glibc reads it: a lone surrogate or a unit cut
// off at the end fails where that character starts.
Converted convertUtf16(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[k])); };
    return static_cast<char16_t>(bigEndian ? byte(i) << 8 | byte(i + 1) : byte(i + 1) << 8 | byte(i));
  };
  std::u16string text;
  text.reserve(bytes.size() / 2);
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    const char16_t u = unit(i);
    if (isLowSurrogate(u)) return i;
    if (isHighSurrogate(u)) {
      if (i + 3 >= bytes.size() || !isLowSurrogate(unit(i + 2))) return i;
      text += u;
      i += 2;
      text += unit(i);
      continue;
    }
    text += u;
  }
  if (i < bytes.size()) return i;
  return utf16ToUtf8(text);
}

Converted convert(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::utf16 || encoding == TextEncoding::utf16le) return convertUtf16(bytes, false);
  if (encoding == TextEncoding::utf16be) return convertUtf16(bytes, true);
  return multiByteToUtf8(bytes, encoding);
}

// The UTF-16 that bytes holding NULs likely are: text of mostly ASCII has its
// NULs at odd offsets little-endian, at even ones big-endian. Nothing when the
// bytes are not valid in that order, or would still hold a NUL.
std::optional<TextEncoding> likelyUtf16(std::string_view bytes) {
  std::size_t odd = 0;
  for (std::size_t i = 1; i < bytes.size(); i += 2) odd += bytes[i] == '\0';
  const std::size_t even = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\0')) - odd;
  const bool bigEndian = even > odd;
  const Converted text = convertUtf16(bytes, bigEndian);
  if (text.index() != 0 || std::get<0>(text).find('\0') != std::string::npos) return std::nullopt;
  return bigEndian ? TextEncoding::utf16be : TextEncoding::utf16le;
}

DecodeFailure failureAt(std::string_view bytes, std::size_t offset, std::size_t markLength, TextEncoding encoding) {
  DecodeFailure failure;
  failure.offset = markLength + offset;
  failure.byte = offset < bytes.size() ? static_cast<std::uint8_t>(bytes[offset]) : 0;
  failure.encoding = encoding;
  if (encoding != TextEncoding::utf8) return failure;
  // A NUL byte is seldom typed; in a file it means UTF-16.
  if (bytes.find('\0') != std::string_view::npos) {
    failure.likely = likelyUtf16(bytes);
    return failure;
  }
  for (const TextEncoding guess : {TextEncoding::gb2312, TextEncoding::gbk, TextEncoding::big5}) {
    if (convert(bytes, guess).index() == 0) {
      failure.likely = guess;
      break;
    }
  }
  return failure;
}

// Where the first NUL read from `body` in `encoding` stands in it.
std::size_t nulOffset(std::string_view body, TextEncoding encoding) {
  const bool utf16 = encoding == TextEncoding::utf16 || encoding == TextEncoding::utf16le || encoding == TextEncoding::utf16be;
  if (!utf16) return body.find('\0');
  std::size_t i = 0;
  while (i + 1 < body.size() && (body[i] != '\0' || body[i + 1] != '\0')) i += 2;
  return i;
}

// Decoded text is refused for a NUL as for a byte not valid in its encoding.
std::variant<std::string, DecodeFailure> withoutNul(std::string text, std::string_view body, std::size_t markLength,
                                                    TextEncoding chosen, TextEncoding reported) {
  if (text.find('\0') == std::string::npos) return text;
  DecodeFailure failure = failureAt(body, nulOffset(body, chosen), markLength, reported);
  failure.nul = true;
  return failure;
}

}  // namespace

std::string_view encodingName(TextEncoding encoding) { return named(encoding).name; }

std::optional<TextEncoding> encodingNamed(std::string_view name) {
  const std::string wanted = folded(name);
  for (const Named& n : kEncodings) {
    if (folded(n.name) == wanted) return n.encoding;
  }
  return std::nullopt;
}

std::string_view encodingNameList() { return "utf-8, gb2312, gbk, gb18030, utf-16, utf-16le, utf-16be, big5"; }

std::variant<std::string, DecodeFailure> decodeText(std::string_view bytes, std::optional<TextEncoding> encoding) {
  const auto [marked, markLength] = byteOrderMark(bytes);
  TextEncoding chosen = encoding.value_or(marked.value_or(TextEncoding::utf8));
  // A mark that agrees with the encoding asked for is dropped; UTF-16's mark also tells its order.
  const bool markFits = marked && (marked == chosen || (chosen == TextEncoding::utf16 && marked != TextEncoding::utf8));
  if (markFits && chosen == TextEncoding::utf16) chosen = *marked;
  const std::size_t skipped = markFits ? markLength : 0;
  const std::string_view body = bytes.substr(skipped);
  const TextEncoding reported = encoding.value_or(chosen);  // "utf-16" as asked, though its mark said the order
  if (chosen == TextEncoding::utf8) {
    // glibc's iconv takes UTF-8 past U+10FFFF; ours is the one rule for UTF-8 here.
    if (const auto bad = firstInvalidUtf8(body)) return failureAt(body, *bad, skipped, reported);
    return withoutNul(std::string(body), body, skipped, chosen, reported);
  }
  auto converted = convert(body, chosen);
  if (converted.index() == 0) return withoutNul(std::get<0>(std::move(converted)), body, skipped, chosen, reported);
  return failureAt(body, std::get<1>(converted), skipped, reported);
}

}  // namespace lumadot
