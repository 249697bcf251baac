#include "extract/text_encoding.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>

#include "extract/text_codec.h"

namespace lumadot {
namespace {

struct Named {
  TextEncoding encoding;
  std::string_view name;     // as --encoding takes it
  const char* iconvName;
};

constexpr std::array<Named, 8> kEncodings{{
    {TextEncoding::utf8, "utf-8", "UTF-8"},
    {TextEncoding::gb2312, "gb2312", "GB2312"},
    {TextEncoding::gbk, "gbk", "GBK"},
    {TextEncoding::gb18030, "gb18030", "GB18030"},
    {TextEncoding::utf16, "utf-16", "UTF-16LE"},
    {TextEncoding::utf16le, "utf-16le", "UTF-16LE"},
    {TextEncoding::utf16be, "utf-16be", "UTF-16BE"},
    {TextEncoding::big5, "big5", "BIG5"},
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

// The bytes through iconv, or the offset of the first that is not valid.
std::variant<std::string, std::size_t> convert(std::string_view bytes, const char* from) {
  const iconv_t cd = iconv_open("UTF-8", from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::size_t{0};
  std::string out(bytes.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());  // iconv's signature; it only reads
  std::size_t inLeft = bytes.size();
  std::size_t done = 0;
  std::variant<std::string, std::size_t> result;
  while (inLeft > 0) {
    char* outPtr = out.data() + done;
    std::size_t outLeft = out.size() - done;
    const std::size_t converted = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    done = out.size() - outLeft;
    if (converted != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    result = static_cast<std::size_t>(bytes.size() - inLeft);  // EILSEQ, or EINVAL: cut off at the end
    break;
  }
  iconv_close(cd);
  if (result.index() == 1) return result;
  out.resize(done);
  return out;
}

DecodeFailure failureAt(std::string_view bytes, std::size_t offset, std::size_t markLength, TextEncoding encoding) {
  DecodeFailure failure;
  failure.offset = markLength + offset;
  failure.byte = offset < bytes.size() ? static_cast<std::uint8_t>(bytes[offset]) : 0;
  failure.encoding = encoding;
  if (encoding != TextEncoding::utf8) return failure;
  // A NUL byte is seldom typed; beside bytes that are not UTF-8 it means UTF-16.
  if (bytes.find('\0') != std::string_view::npos) {
    failure.likely = TextEncoding::utf16;
    return failure;
  }
  for (const TextEncoding guess : {TextEncoding::gb2312, TextEncoding::gbk, TextEncoding::big5}) {
    if (convert(bytes, named(guess).iconvName).index() == 0) {
      failure.likely = guess;
      break;
    }
  }
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
    return std::string(body);
  }
  auto converted = convert(body, named(chosen).iconvName);
  if (converted.index() == 0) return std::get<0>(std::move(converted));
  return failureAt(body, std::get<1>(converted), skipped, reported);
}

}  // namespace lumadot
