#include "extract/ansi_code.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

#include <array>

namespace lumadot {
namespace {

// The signed code of what the conversion wrote; anything but one or two bytes
// means the character has no code.
std::int16_t codeOf(const char* bytes, std::size_t count) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  if (count == 1) return static_cast<std::int16_t>(byte(0));
  if (count == 2) return static_cast<std::int16_t>(byte(0) * 256 + byte(1) - 65536);
  return kQuestionMarkCode;
}

}  // namespace

#ifdef _WIN32

namespace {

constexpr UINT kCodePage = 936;

// glibc's CP936 has no code for the private use area, where Windows keeps its
// user-defined characters; both systems give the same codes without them.
bool isPrivateUse(char32_t ch) { return ch >= 0xE000 && ch <= 0xF8FF; }

}  // namespace

std::int16_t ansiCode(char32_t ch) {
  if (ch < 0x80) return static_cast<std::int16_t>(ch);
  // Nothing outside the basic plane is in code page 936, and a surrogate pair
  // would come back as two default characters that look like one double-byte code.
  if (ch > 0xFFFF || (ch >= 0xD800 && ch <= 0xDFFF) || isPrivateUse(ch)) return kQuestionMarkCode;
  const wchar_t wide = static_cast<wchar_t>(ch);
  std::array<char, 8> out{};
  BOOL defaulted = FALSE;
  // Best fit would give "a" for U+00AA and "2" for U+00B2, where glibc gives none.
  const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, out.data(), static_cast<int>(out.size()),
                                    nullptr, &defaulted);
  return codeOf(out.data(), n > 0 && !defaulted ? static_cast<std::size_t>(n) : 0);
}

std::optional<char32_t> fromAnsiBytes(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > 2) return std::nullopt;
  std::array<wchar_t, 4> out{};
  const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                    out.data(), static_cast<int>(out.size()));
  if (n != 1 || isPrivateUse(out[0])) return std::nullopt;
  return static_cast<char32_t>(out[0]);
}

#else

namespace {

// One conversion descriptor per thread and direction: opening one costs far
// more than converting a character.
class Converter {
 public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(m_cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

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

}  // namespace

std::int16_t ansiCode(char32_t ch) {
  if (ch < 0x80) return static_cast<std::int16_t>(ch);  // code page 936 keeps ASCII as it is
  thread_local Converter toCp936("CP936", "UTF-32LE");
  const std::array<char, 4> in{static_cast<char>(ch & 0xFF), static_cast<char>((ch >> 8) & 0xFF),
                               static_cast<char>((ch >> 16) & 0xFF), static_cast<char>((ch >> 24) & 0xFF)};
  std::array<char, 8> out{};
  const auto n = toCp936.convert(in.data(), in.size(), out.data(), out.size());
  return codeOf(out.data(), n.value_or(0));
}

std::optional<char32_t> fromAnsiBytes(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > 2) return std::nullopt;
  thread_local Converter fromCp936("UTF-32LE", "CP936");
  std::array<unsigned char, 8> out{};
  const auto n = fromCp936.convert(bytes.data(), bytes.size(), reinterpret_cast<char*>(out.data()), out.size());
  if (n != 4u) return std::nullopt;
  return static_cast<char32_t>(out[0]) | static_cast<char32_t>(out[1]) << 8 | static_cast<char32_t>(out[2]) << 16 |
         static_cast<char32_t>(out[3]) << 24;
}

#endif

}  // namespace lumadot
