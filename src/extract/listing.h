#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/version.h"
#include "extract/glyph_entries.h"
#include "extract/glyphs.h"

namespace lumadot {

inline constexpr std::u16string_view kLineBreak = u"\r\n";
inline constexpr std::u16string_view kEntryOpener = u";--------";
inline constexpr std::u16string_view kSingleByteStructure = u"--------字模结构：　8*16　点阵";
inline constexpr std::u16string_view kDoubleByteStructure = u"--------字模结构：　16*16　点阵";
inline constexpr std::u16string_view kDataLinePrefix = u"DB  ";
inline constexpr std::u16string_view kByteSuffix = u"H,";
inline constexpr std::size_t kBytesPerDataLine = 16;

// The header's structure line for a glyph of any size: "--------字模结构：　24*24　点阵".
std::u16string structureLine(Dots dots);

inline constexpr std::array<std::u16string_view, 4> kCreditLines{
    u";本字模由 Lumadot V" LUMADOT_VERSION " 提取，作者：Lumadot 开发组",
    u";联系作者：消息账号 lumadot，电子邮件 lumadot@example.com",
    u";感谢 Lumadot 社区的各位测试者提供的技术帮助",
    u";交流群：Lumadot 用户群、Lumadot 点阵屏开发群",
};

// Appends a byte's text: uppercase hex without leading zeros, then "H,".
void appendByteText(std::u16string& out, std::uint8_t value);

// The entries of the listing as far as the text before glyph byte `byteCount`'s
// own text: what the result box holds when a send stops at that byte, since
// each byte goes out just before its text is listed. With every byte, all
// the entries, without the credit block.
std::u16string listingBefore(const Glyphs& glyphs, std::size_t byteCount);
std::u16string listingEntries(const Glyphs& glyphs);
// One glyph's entry as the listing holds it: a line break, its header line, its data lines.
std::u16string listingEntry(const GlyphEntry& entry);

void appendCreditBlock(std::u16string& listing);

// The result box's text after a completed run: every entry, then the credit block.
std::u16string listing(const Glyphs& glyphs);

}  // namespace lumadot
