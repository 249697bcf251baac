#pragma once

// How a firmware stores a glyph's dots in bytes. The font files store rows,
// the leftmost dot in the high bit, 1 = lit; firmware for LED and LCD
// matrices reads glyphs in other layouts as well, so every output of a run
// can be given in any of them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lumadot {

// The order the glyph's 8-dot groups go into bytes, one group a byte.
enum class Scan : std::uint8_t {
  rows,         // each row top to bottom, its 8-dot groups left to right
  rowBands,     // each 8-dot-wide band left to right, its 16 rows top to bottom
  columns,      // each column left to right, its two 8-dot groups top to bottom
  columnBands,  // each 8-dot-high band top to bottom, its columns left to right
};

inline constexpr std::array<Scan, 4> kScans{Scan::rows, Scan::rowBands, Scan::columns, Scan::columnBands};

struct ByteLayout {
  Scan scan = Scan::rows;
  bool lsbFirst = false;  // the first dot of a group (leftmost, or topmost) is bit 0, not bit 7
  bool negative = false;  // every byte inverted: 1 = dark

  friend bool operator==(const ByteLayout&, const ByteLayout&) = default;
};

// The window's two options, "字节倒序" and "8*16格式", as a layout.
constexpr ByteLayout windowLayout(bool reverseBits, bool split8x16) {
  return {split8x16 ? Scan::rowBands : Scan::rows, reverseBits, false};
}

inline constexpr int kLayoutCount = 16;
// Every layout, the default first.
std::array<ByteLayout, kLayoutCount> allLayouts();

// "rows", "row-bands", "columns", "column-bands": the names --scan takes.
std::string_view scanName(Scan scan);
std::optional<Scan> scanNamed(std::string_view name);

// One glyph's dots, 16 rows of 16 (double-byte) or 8 (single-byte) dots.
struct GlyphPicture {
  static constexpr int kHeight = 16;
  static constexpr int kMaxWidth = 16;

  int width = kMaxWidth;
  std::array<std::uint16_t, kHeight> rows{};  // bit 15 is the leftmost dot

  bool lit(int x, int y) const {
    return x >= 0 && x < width && y >= 0 && y < kHeight && ((rows[static_cast<std::size_t>(y)] >> (15 - x)) & 1U);
  }
  int litCount() const;

  friend bool operator==(const GlyphPicture&, const GlyphPicture&) = default;
};

// A glyph of `width` dots takes 2 x width bytes in every layout.
constexpr std::size_t glyphSize(int width) { return static_cast<std::size_t>(2 * width); }

// What `bytes` draw when read in `layout`. Bytes past the end of `bytes` (a
// glyph cut short) draw dark dots.
GlyphPicture decodeGlyph(std::span<const std::uint8_t> bytes, int width, const ByteLayout& layout);
// The glyphSize(picture.width) bytes of `picture` in `layout`, into `out`.
void encodeGlyph(const GlyphPicture& picture, const ByteLayout& layout, std::span<std::uint8_t> out);
// Turns a whole glyph as the font files store it (8 or 16 dots wide by its
// size) into `layout`, in place.
void arrangeGlyph(std::span<std::uint8_t> glyph, const ByteLayout& layout);

}  // namespace lumadot
