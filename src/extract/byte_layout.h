#pragma once

// How a firmware stores a glyph's dots in bytes. The font files store rows,
// the leftmost dot in the high bit, 1 = lit; firmware for LED and LCD
// matrices reads glyphs in other layouts as well, so every output of a run
// can be given in any of them, for a glyph of any size.

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
  rowBands,     // each 8-dot-wide band left to right, its rows top to bottom
  columns,      // each column left to right, its 8-dot groups top to bottom
  columnBands,  // each 8-dot-high band top to bottom, its columns left to right
};

inline constexpr std::array<Scan, 4> kScans{Scan::rows, Scan::rowBands, Scan::columns, Scan::columnBands};

inline constexpr bool scansColumns(Scan scan) { return scan == Scan::columns || scan == Scan::columnBands; }

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

// The layout our sign reads a frame's display bytes in (docs/frame.md): 8x16
// strips, lowest bit leftmost, as the window sends with both options on.
inline constexpr ByteLayout kFrameLayout = windowLayout(true, true);

inline constexpr int kLayoutCount = 16;
// Every layout, the default first.
std::array<ByteLayout, kLayoutCount> allLayouts();

// "rows", "row-bands", "columns", "column-bands": the names --scan takes.
std::string_view scanName(Scan scan);
std::optional<Scan> scanNamed(std::string_view name);

// A glyph's size in dots.
struct Dots {
  static constexpr int kMaxSide = 64;

  int width = 16;
  int height = 16;

  friend bool operator==(const Dots&, const Dots&) = default;
};

// 8-dot groups across a row, and down a column. A group that the glyph's
// edge cuts short still takes a whole byte.
constexpr int bandsAcross(Dots dots) { return (dots.width + 7) / 8; }
constexpr int bandsDown(Dots dots) { return (dots.height + 7) / 8; }

// The bytes a glyph of `dots` takes when scanned by `scan`: a byte per group
// of a row in the row scans, of a column in the column scans.
constexpr std::size_t glyphSize(Dots dots, Scan scan = Scan::rows) {
  return static_cast<std::size_t>(scansColumns(scan) ? dots.width * bandsDown(dots) : bandsAcross(dots) * dots.height);
}

// The most bytes any glyph takes: 64 x 64 dots.
inline constexpr std::size_t kMaxGlyphSize = glyphSize({Dots::kMaxSide, Dots::kMaxSide});

// One glyph's dots, up to 64 x 64.
struct GlyphPicture {
  int width = 16;
  int height = 16;
  std::array<std::uint64_t, Dots::kMaxSide> rows{};  // bit 63 is the leftmost dot; dots past width are 0

  GlyphPicture() = default;
  explicit GlyphPicture(Dots dots) : width(dots.width), height(dots.height) {}

  Dots dots() const { return {width, height}; }
  bool lit(int x, int y) const {
    return x >= 0 && x < width && y >= 0 && y < height && ((rows[static_cast<std::size_t>(y)] >> (63 - x)) & 1U);
  }
  void light(int x, int y) { rows[static_cast<std::size_t>(y)] |= std::uint64_t{1} << (63 - x); }
  int litCount() const;

  friend bool operator==(const GlyphPicture&, const GlyphPicture&) = default;
};

// What `bytes` draw when read in `layout` as a glyph of `dots`. Bytes past
// the end of `bytes` (a glyph cut short) draw dark dots.
GlyphPicture decodeGlyph(std::span<const std::uint8_t> bytes, Dots dots, const ByteLayout& layout);
// The glyphSize(picture.dots(), layout.scan) bytes of `picture` in `layout`, into `out`.
void encodeGlyph(const GlyphPicture& picture, const ByteLayout& layout, std::span<std::uint8_t> out);
// A glyph as the font files store it (rows, bit 7 first, 1 lit) into
// `layout`, in `out` (glyphSize(dots, layout.scan) bytes). Dots a font file
// keeps past a glyph's right edge are not dots, so they are dropped.
void arrangeGlyph(std::span<const std::uint8_t> rowsBytes, Dots dots, const ByteLayout& layout,
                  std::span<std::uint8_t> out);

// Where one dot of a glyph lies among its bytes.
struct BytePlace {
  std::size_t byte = 0;  // from 0, within the glyph
  int bit = 0;           // 7: the byte's high bit

  friend bool operator==(const BytePlace&, const BytePlace&) = default;
};
// Where dot (x, y) of a glyph of `dots` goes in `layout`; the polarity moves no dot.
BytePlace bytePlace(Dots dots, const ByteLayout& layout, int x, int y);

}  // namespace lumadot
