#include <iconv.h>

#include <array>
#include <cerrno>

#include "extract/code_pages.h"

namespace lumadot {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t handle() const { return m_cd; }

  // Converts the whole input or nothing; returns the number of bytes written.
  std::optional<std::size_t> convert(const char* in, std::size_t inSize, char* out, std::size_t outSize) {
    if (!valid()) return std::nullopt;
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    std::size_t inLeft = inSize;
    std::size_t outLeft = outSize;
    if (iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
      return std::nullopt;
    }
    return outSize - outLeft;
  }

 private:
  iconv_t m_cd;
};

const char* iconvName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::gb2312: return "GB2312";
    case TextEncoding::gbk: return "GBK";
    case TextEncoding::gb18030: return "GB18030";
    case TextEncoding::big5: return "BIG5";
    default: return "UTF-8";  // UTF-8 and UTF-16 are read by hand
  }
}

}  // namespace

// One conversion descriptor per thread and direction: opening one costs far
// more than converting a character.
std::optional<std::string> codePage936Bytes(char32_t ch) {
  thread_local Converter toCp936("CP936", "UTF-32LE");
  const std::array<char, 4> in{static_cast<char>(ch & 0xFF), static_cast<char>((ch >> 8) & 0xFF),
                               static_cast<char>((ch >> 16) & 0xFF), static_cast<char>((ch >> 24) & 0xFF)};
  std::array<char, 8> out{};
  const auto n = toCp936.convert(in.data(), in.size(), out.data(), out.size());
  if (!n) return std::nullopt;
  return std::string(out.data(), *n);
}

std::optional<char32_t> codePage936Character(std::string_view bytes) {
  thread_local Converter fromCp936("UTF-32LE", "CP936");
  std::array<unsigned char, 8> out{};
  const auto n = fromCp936.convert(bytes.data(), bytes.size(), reinterpret_cast<char*>(out.data()), out.size());
  if (n != 4u) return std::nullopt;
  return static_cast<char32_t>(out[0]) | static_cast<char32_t>(out[1]) << 8 | static_cast<char32_t>(out[2]) << 16 |
         static_cast<char32_t>(out[3]) << 24;
}

std::variant<std::string, std::size_t> multiByteToUtf8(std::string_view bytes, TextEncoding encoding) {
  const Converter converter("UTF-8", iconvName(encoding));
  if (!converter.valid()) return std::size_t{0};
  std::string out(bytes.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());  // iconv's signature; it only reads
  std::size_t inLeft = bytes.size();
  std::size_t done = 0;
  while (inLeft > 0) {
    char* outPtr = out.data() + done;
    std::size_t outLeft = out.size() - done;
    const std::size_t converted = iconv(converter.handle(), &in, &inLeft, &outPtr, &outLeft);
    done = out.size() - outLeft;
    if (converted != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    return static_cast<std::size_t>(bytes.size() - inLeft);  // EILSEQ, or EINVAL: cut off at the end
  }
  out.resize(done);
  return out;
}

}  // namespace lumadot
