#include "extract/glyph_lookup.h"

#include <array>
#include <span>

#include "extract/ansi_code.h"
#include "extract/glyph_source.h"

namespace lumadot {
namespace {

// Appends byte by byte, so a buffer that fills part-way keeps what fitted.
Result<void> appendAll(GlyphBuffer& buffer, std::span<const std::uint8_t> bytes) {
  for (const std::uint8_t v : bytes) {
    if (!buffer.append(v)) {
      return Failure("文字太长：一次最多能取模4096个单字节字符或2048个双字节字符").as(FailureKind::textTooLong, {});
    }
  }
  return {};
}

}  // namespace

std::optional<std::uint64_t> hzk16Offset(std::int16_t code) { return doubleByteOffset({}, Charset::gb2312, code); }

Result<void> appendGlyph(GlyphBuffer& buffer, std::span<const std::uint8_t> rowsBytes, Dots dots,
                         const ByteLayout& layout) {
  std::array<std::uint8_t, kMaxGlyphSize> arranged;  // arrangeGlyph fills all the glyph takes
  const std::span<std::uint8_t> glyph(arranged.data(), glyphSize(dots, layout.scan));
  arrangeGlyph(rowsBytes, dots, layout, glyph);
  return appendAll(buffer, glyph);
}

Result<void> english(GlyphBuffer& buffer, FontFile& asc16, std::uint8_t code, const ByteLayout& layout) {
  std::array<std::uint8_t, kAsc16GlyphSize> g{};
  if (auto read = asc16.read(asc16Offset(code), g); !read) return read;
  return appendGlyph(buffer, g, CellSize{}.singleByte(), layout);
}

Result<void> hzdz(GlyphBuffer& buffer, FontFile& hzk16, std::int16_t code, const ByteLayout& layout) {
  std::array<std::uint8_t, kHzk16GlyphSize> g{};
  if (const auto offset = hzk16Offset(code)) {
    if (auto read = hzk16.read(*offset, g); !read) return read;
  }
  return appendGlyph(buffer, g, CellSize{}.doubleByte(), layout);
}

}  // namespace lumadot
