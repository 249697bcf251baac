#include <windows.h>

#include <algorithm>
#include <array>

#include "extract/code_pages.h"
#include "extract/text_codec.h"

namespace lumadot {
namespace {

// glibc is the measure on Windows too: what it reads, and nothing it refuses.
// Code page 936 is GBK with user-defined characters in the private use area,
// where glibc's GBK has none; glibc's GB2312 holds only GB2312's cells, and of
// Big5's private use area glibc's BIG5 has only 0xC6A1-0xC8FE. Wine has no
// code page 54936, and Windows' differs from version to version, so GB18030 is
// read as code page 936 amended where glibc reads it otherwise, and its
// four-byte codes by glibc's runs.

constexpr UINT kCodePage936 = 936;

// Windows keeps its user-defined characters in the private use area, where
// glibc has none.
bool isPrivateUse(char32_t ch) { return ch >= 0xE000 && ch <= 0xF8FF; }

UINT codePage(TextEncoding encoding) { return encoding == TextEncoding::big5 ? 950 : kCodePage936; }

// Where glibc reads a code as the same private use character as Windows.
bool keepsPrivateUse(TextEncoding encoding, std::uint16_t code) {
  if (encoding == TextEncoding::gb18030) return true;
  return encoding == TextEncoding::big5 && code >= 0xC6A1 && code <= 0xC8FE;  // Big5's kana and signs beyond its hanzi
}

struct CodeToCharacter {
  std::uint16_t code;  // lead * 256 + trail
  char32_t character;
};

constexpr CodeToCharacter kGb2312Differences[] = {{0xA1A4, 0x30FB}, {0xA1AA, 0x2015}};

// GB2312's cells in rows 1 to 9; rows 16 to 87 are whole but for 0xD7FA-0xD7FE.
constexpr std::array<std::pair<std::uint16_t, std::uint16_t>, 14> kGb2312SymbolCells{{
    {0xA1A1, 0xA1FE}, {0xA2B1, 0xA2E2}, {0xA2E5, 0xA2EE}, {0xA2F1, 0xA2FC}, {0xA3A1, 0xA3FE}, {0xA4A1, 0xA4F3},
    {0xA5A1, 0xA5F6}, {0xA6A1, 0xA6B8}, {0xA6C1, 0xA6D8}, {0xA7A1, 0xA7C1}, {0xA7D1, 0xA7F1}, {0xA8A1, 0xA8BA},
    {0xA8C5, 0xA8E9}, {0xA9A4, 0xA9EF}}};

// GB18030's double-byte codes that glibc reads otherwise than code page 936.
constexpr CodeToCharacter kGb18030Differences[] = {
    {0xA2E3, 0x20AC}, {0xA6D9, 0xFE10}, {0xA6DA, 0xFE12}, {0xA6DB, 0xFE11}, {0xA6DC, 0xFE13}, {0xA6DD, 0xFE14},
    {0xA6DE, 0xFE15}, {0xA6DF, 0xFE16}, {0xA6EC, 0xFE17}, {0xA6ED, 0xFE18}, {0xA6F3, 0xFE19}, {0xA8BC, 0x1E3F},
    {0xA8BF, 0x01F9}, {0xA989, 0x303E}, {0xA98A, 0x2FF0}, {0xA98B, 0x2FF1}, {0xA98C, 0x2FF2}, {0xA98D, 0x2FF3},
    {0xA98E, 0x2FF4}, {0xA98F, 0x2FF5}, {0xA990, 0x2FF6}, {0xA991, 0x2FF7}, {0xA992, 0x2FF8}, {0xA993, 0x2FF9},
    {0xA994, 0x2FFA}, {0xA995, 0x2FFB}, {0xFE50, 0x2E81}, {0xFE51, 0x20087}, {0xFE52, 0x20089}, {0xFE53, 0x200CC},
    {0xFE54, 0x2E84}, {0xFE55, 0x3473}, {0xFE56, 0x3447}, {0xFE57, 0x2E88}, {0xFE58, 0x2E8B}, {0xFE59, 0x9FB4},
    {0xFE5A, 0x359E}, {0xFE5B, 0x361A}, {0xFE5C, 0x360E}, {0xFE5D, 0x2E8C}, {0xFE5E, 0x2E97}, {0xFE5F, 0x396E},
    {0xFE60, 0x3918}, {0xFE61, 0x9FB5}, {0xFE62, 0x39CF}, {0xFE63, 0x39DF}, {0xFE64, 0x3A73}, {0xFE65, 0x39D0},
    {0xFE66, 0x9FB6}, {0xFE67, 0x9FB7}, {0xFE68, 0x3B4E}, {0xFE69, 0x3C6E}, {0xFE6A, 0x3CE0}, {0xFE6B, 0x2EA7},
    {0xFE6C, 0x215D7}, {0xFE6D, 0x9FB8}, {0xFE6E, 0x2EAA}, {0xFE6F, 0x4056}, {0xFE70, 0x415F}, {0xFE71, 0x2EAE},
    {0xFE72, 0x4337}, {0xFE73, 0x2EB3}, {0xFE74, 0x2EB6}, {0xFE75, 0x2EB7}, {0xFE76, 0x2298F}, {0xFE77, 0x43B1},
    {0xFE78, 0x43AC}, {0xFE79, 0x2EBB}, {0xFE7A, 0x43DD}, {0xFE7B, 0x44D6}, {0xFE7C, 0x4661}, {0xFE7D, 0x464C},
    {0xFE7E, 0x9FB9}, {0xFE80, 0x4723}, {0xFE81, 0x4729}, {0xFE82, 0x477C}, {0xFE83, 0x478D}, {0xFE84, 0x2ECA},
    {0xFE85, 0x4947}, {0xFE86, 0x497A}, {0xFE87, 0x497D}, {0xFE88, 0x4982}, {0xFE89, 0x4983}, {0xFE8A, 0x4985},
    {0xFE8B, 0x4986}, {0xFE8C, 0x499F}, {0xFE8D, 0x499B}, {0xFE8E, 0x49B7}, {0xFE8F, 0x49B6}, {0xFE90, 0x9FBA},
    {0xFE91, 0x241FE}, {0xFE92, 0x4CA3}, {0xFE93, 0x4C9F}, {0xFE94, 0x4CA0}, {0xFE95, 0x4CA1}, {0xFE96, 0x4C77},
    {0xFE97, 0x4CA2}, {0xFE98, 0x4D13}, {0xFE99, 0x4D14}, {0xFE9A, 0x4D15}, {0xFE9B, 0x4D16}, {0xFE9C, 0x4D17},
    {0xFE9D, 0x4D18}, {0xFE9E, 0x4D19}, {0xFE9F, 0x4DAE}, {0xFEA0, 0x9FBB},
};
// Four-byte codes from `index` on stand for `first` and the characters after
// it, up to the next run's index; a run whose first is 0 stands for none.
struct FourByteRun {
  std::uint32_t index;
  char32_t first;
};

constexpr FourByteRun kGb18030FourByteRuns[] = {
    {0, 0x0080}, {36, 0x00A5}, {38, 0x00A9}, {45, 0x00B2}, {50, 0x00B8}, {81, 0x00D8},
    {89, 0x00E2}, {95, 0x00EB}, {96, 0x00EE}, {100, 0x00F4}, {103, 0x00F8}, {104, 0x00FB},
    {105, 0x00FD}, {109, 0x0102}, {126, 0x0114}, {133, 0x011C}, {148, 0x012C}, {172, 0x0145},
    {175, 0x0149}, {179, 0x014E}, {208, 0x016C}, {306, 0x01CF}, {307, 0x01D1}, {308, 0x01D3},
    {309, 0x01D5}, {310, 0x01D7}, {311, 0x01D9}, {312, 0x01DB}, {313, 0x01DD}, {341, 0x01FA},
    {428, 0x0252}, {443, 0x0262}, {544, 0x02C8}, {545, 0x02CC}, {558, 0x02DA}, {741, 0x03A2},
    {742, 0x03AA}, {749, 0x03C2}, {750, 0x03CA}, {805, 0x0402}, {819, 0x0450}, {820, 0x0452},
    {7457, 0xE7C7}, {7458, 0x1E40}, {7922, 0x2011}, {7924, 0x2017}, {7925, 0x201A}, {7927, 0x201E},
    {7934, 0x2027}, {7943, 0x2031}, {7944, 0x2034}, {7945, 0x2036}, {7950, 0x203C}, {8062, 0x20AD},
    {8148, 0x2104}, {8149, 0x2106}, {8152, 0x210A}, {8164, 0x2117}, {8174, 0x2122}, {8236, 0x216C},
    {8240, 0x217A}, {8262, 0x2194}, {8264, 0x219A}, {8374, 0x2209}, {8380, 0x2210}, {8381, 0x2212},
    {8384, 0x2216}, {8388, 0x221B}, {8390, 0x2221}, {8392, 0x2224}, {8393, 0x2226}, {8394, 0x222C},
    {8396, 0x222F}, {8401, 0x2238}, {8406, 0x223E}, {8416, 0x2249}, {8419, 0x224D}, {8424, 0x2253},
    {8437, 0x2262}, {8439, 0x2268}, {8445, 0x2270}, {8482, 0x2296}, {8485, 0x229A}, {8496, 0x22A6},
    {8521, 0x22C0}, {8603, 0x2313}, {8936, 0x246A}, {8946, 0x249C}, {9046, 0x254C}, {9050, 0x2574},
    {9063, 0x2590}, {9066, 0x2596}, {9076, 0x25A2}, {9092, 0x25B4}, {9100, 0x25BE}, {9108, 0x25C8},
    {9111, 0x25CC}, {9113, 0x25D0}, {9131, 0x25E6}, {9162, 0x2607}, {9164, 0x260A}, {9218, 0x2641},
    {9219, 0x2643}, {11329, 0x2E82}, {11331, 0x2E85}, {11334, 0x2E89}, {11336, 0x2E8D}, {11346, 0x2E98},
    {11361, 0x2EA8}, {11363, 0x2EAB}, {11366, 0x2EAF}, {11370, 0x2EB4}, {11372, 0x2EB8}, {11375, 0x2EBC},
    {11389, 0x2ECB}, {11682, 0x2FFC}, {11686, 0x3004}, {11687, 0x3018}, {11692, 0x301F}, {11694, 0x302A},
    {11714, 0x303F}, {11716, 0x3094}, {11723, 0x309F}, {11725, 0x30F7}, {11730, 0x30FF}, {11736, 0x312A},
    {11982, 0x322A}, {11989, 0x3232}, {12102, 0x32A4}, {12336, 0x3390}, {12348, 0x339F}, {12350, 0x33A2},
    {12384, 0x33C5}, {12393, 0x33CF}, {12395, 0x33D3}, {12397, 0x33D6}, {12510, 0x3448}, {12553, 0x3474},
    {12851, 0x359F}, {12962, 0x360F}, {12973, 0x361B}, {13738, 0x3919}, {13823, 0x396F}, {13919, 0x39D1},
    {13933, 0x39E0}, {14080, 0x3A74}, {14298, 0x3B4F}, {14585, 0x3C6F}, {14698, 0x3CE1}, {15583, 0x4057},
    {15847, 0x4160}, {16318, 0x4338}, {16434, 0x43AD}, {16438, 0x43B2}, {16481, 0x43DE}, {16729, 0x44D7},
    {17102, 0x464D}, {17122, 0x4662}, {17315, 0x4724}, {17320, 0x472A}, {17402, 0x477D}, {17418, 0x478E},
    {17859, 0x4948}, {17909, 0x497B}, {17911, 0x497E}, {17915, 0x4984}, {17916, 0x4987}, {17936, 0x499C},
    {17939, 0x49A0}, {17961, 0x49B8}, {18664, 0x4C78}, {18703, 0x4CA4}, {18814, 0x4D1A}, {18962, 0x4DAF},
    {19043, 0x9FA6}, {19057, 0}, {19065, 0x9FBC}, {33469, 0xE76C}, {33470, 0xE7C8}, {33471, 0xE7E7},
    {33484, 0xE815}, {33485, 0xE819}, {33490, 0xE81F}, {33497, 0xE827}, {33501, 0xE82D}, {33505, 0xE833},
    {33513, 0xE83C}, {33520, 0xE844}, {33536, 0xE856}, {33550, 0xE865}, {37845, 0xF92D}, {37921, 0xF97A},
    {37948, 0xF996}, {38029, 0xF9E8}, {38038, 0xF9F2}, {38064, 0xFA10}, {38065, 0xFA12}, {38066, 0xFA15},
    {38069, 0xFA19}, {38075, 0xFA22}, {38076, 0xFA25}, {38078, 0xFA2A}, {39076, 0}, {39086, 0xFE1A},
    {39108, 0xFE32}, {39109, 0xFE45}, {39113, 0xFE53}, {39114, 0xFE58}, {39115, 0xFE67}, {39116, 0xFE6C},
    {39265, 0xFF5F}, {39394, 0xFFE6}, {39420, 0},
};

bool inGb2312(std::uint16_t code) {
  const unsigned lead = code >> 8;
  const unsigned trail = code & 0xFF;
  if (lead >= 0xB0 && lead <= 0xF7) return trail >= 0xA1 && trail <= 0xFE && !(code >= 0xD7FA && code <= 0xD7FE);
  return std::any_of(kGb2312SymbolCells.begin(), kGb2312SymbolCells.end(),
                     [code](const auto& cells) { return code >= cells.first && code <= cells.second; });
}

template <std::size_t N>
std::optional<char32_t> amended(const CodeToCharacter (&table)[N], std::uint16_t code) {
  const auto* found = std::lower_bound(std::begin(table), std::end(table), code,
                                       [](const CodeToCharacter& d, std::uint16_t c) { return d.code < c; });
  if (found == std::end(table) || found->code != code) return std::nullopt;
  return found->character;
}

// A four-byte code counts up from 0x81308130, its last three bytes in 10, 126 and 10 steps.
std::optional<char32_t> gb18030FourByte(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  for (std::size_t i = 0; i < 4; i += 2) {
    if (byte(i) < 0x81 || byte(i) > 0xFE || byte(i + 1) < 0x30 || byte(i + 1) > 0x39) return std::nullopt;
  }
  const std::uint32_t index =
      (((byte(0) - 0x81u) * 10 + (byte(1) - 0x30u)) * 126 + (byte(2) - 0x81u)) * 10 + (byte(3) - 0x30u);
  constexpr std::uint32_t kFirstSupplementary = 189000;  // 0x90308130
  if (index >= kFirstSupplementary) {
    const std::uint32_t offset = index - kFirstSupplementary;
    return offset < 0x100000 ? std::optional<char32_t>(0x10000 + offset) : std::nullopt;
  }
  const auto* run = std::upper_bound(std::begin(kGb18030FourByteRuns), std::end(kGb18030FourByteRuns), index,
                                     [](std::uint32_t i, const FourByteRun& r) { return i < r.index; });
  if (run == std::end(kGb18030FourByteRuns) || run == std::begin(kGb18030FourByteRuns)) return std::nullopt;
  --run;
  if (run->first == 0) return std::nullopt;
  return static_cast<char32_t>(run->first + (index - run->index));
}

std::optional<char32_t> codePageCharacter(UINT page, std::string_view bytes) {
  std::array<wchar_t, 4> out{};
  const int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()),
                                    out.data(), static_cast<int>(out.size()));
  if (n != 1 || (out[0] >= 0xD800 && out[0] <= 0xDFFF)) return std::nullopt;
  return static_cast<char32_t>(out[0]);
}

// One character's bytes, as glibc reads them.
std::optional<char32_t> windowsCharacter(TextEncoding encoding, std::string_view bytes) {
  if (bytes.size() == 4) return gb18030FourByte(bytes);
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const auto code = static_cast<std::uint16_t>(bytes.size() == 2 ? byte(0) << 8 | byte(1) : byte(0));
  if (encoding == TextEncoding::gb2312 && bytes.size() == 2) {
    if (!inGb2312(code)) return std::nullopt;
    if (const auto ch = amended(kGb2312Differences, code)) return ch;
  }
  if (encoding == TextEncoding::gb18030) {
    if (const auto ch = amended(kGb18030Differences, code)) return ch;
  }
  const auto ch = codePageCharacter(codePage(encoding), bytes);
  if (!ch || (isPrivateUse(*ch) && !keepsPrivateUse(encoding, code))) return std::nullopt;
  return ch;
}

// How many bytes the character at the front takes, by its lead byte.
std::size_t characterLength(TextEncoding encoding, std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u; };
  if (byte(0) < 0x80) return 1;
  // glibc reads 0x80 alone as the euro sign in GBK, as U+0080 in Big5
  if (byte(0) == 0x80 && (encoding == TextEncoding::gbk || encoding == TextEncoding::big5)) return 1;
  if (encoding == TextEncoding::gb18030 && byte(1) >= 0x30 && byte(1) <= 0x39) return 4;
  return 2;
}

}  // namespace

std::optional<std::string> codePage936Bytes(char32_t ch) {
  // Nothing outside the basic plane is in code page 936, and a surrogate pair
  // would come back as two default characters that look like one double-byte code.
  if (ch > 0xFFFF || (ch >= 0xD800 && ch <= 0xDFFF) || isPrivateUse(ch)) return std::nullopt;
  const wchar_t wide = static_cast<wchar_t>(ch);
  std::array<char, 8> out{};
  BOOL defaulted = FALSE;
  // Best fit would give "a" for U+00AA and "2" for U+00B2, where glibc gives none.
  const int n = WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, &wide, 1, out.data(),
                                    static_cast<int>(out.size()), nullptr, &defaulted);
  if (n <= 0 || defaulted) return std::nullopt;
  return std::string(out.data(), static_cast<std::size_t>(n));
}

std::optional<char32_t> codePage936Character(std::string_view bytes) {
  const auto ch = codePageCharacter(kCodePage936, bytes);
  if (!ch || isPrivateUse(*ch)) return std::nullopt;
  return ch;
}

// A character at a time, so the offset of the first bad one is exact.
std::variant<std::string, std::size_t> multiByteToUtf8(std::string_view bytes, TextEncoding encoding) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = characterLength(encoding, bytes.substr(i));
    if (i + length > bytes.size()) return i;
    const auto character = windowsCharacter(encoding, bytes.substr(i, length));
    if (!character) return i;
    appendUtf16(text, *character);
    i += length;
  }
  return utf16ToUtf8(text);
}


}  // namespace lumadot
