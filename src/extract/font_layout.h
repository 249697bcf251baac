#pragma once

// The headerless font files. A single-byte file (asc16) holds 256 glyphs; a
// double-byte file holds a grid of code page 936 characters, row by row: hzk16
// the 94 x 94 GB2312 grid, gbk16 the 126 x 190 GBK one. Every glyph is stored
// in rows, each row in whole bytes, the leftmost dot in the high bit, 1 lit.
// A size other than 16 names its files by its double-byte cell: hzk24 and
// asc24 (12 x 24 single-byte glyphs), hzk24x16 and asc24x16.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "extract/byte_layout.h"

namespace lumadot {

inline constexpr std::size_t kAsc16GlyphSize = 16;
inline constexpr std::size_t kAsc16Size = 256 * kAsc16GlyphSize;  // 4,096
inline constexpr std::size_t kHzk16GlyphSize = 32;
inline constexpr int kGridSize = 94;
inline constexpr std::size_t kHzk16Size = std::size_t{kGridSize} * kGridSize * kHzk16GlyphSize;  // 282,752

// The double-byte glyph's size; a single-byte glyph is half as wide (rounded up).
struct CellSize {
  static constexpr int kMinSide = 8;
  static constexpr int kMaxSide = Dots::kMaxSide;

  int width = 16;
  int height = 16;

  Dots doubleByte() const { return {width, height}; }
  Dots singleByte() const { return {(width + 1) / 2, height}; }
  Dots of(bool isDoubleByte) const { return isDoubleByte ? doubleByte() : singleByte(); }
  // "24" for 24 x 24, "24x16" for 24 wide by 16 high.
  std::string name() const;
  // The size "N" or "WxH" names, each side 8 to 64; nothing for anything else.
  static std::optional<CellSize> named(std::string_view text);

  friend bool operator==(const CellSize&, const CellSize&) = default;
};

enum class Charset : std::uint8_t { gb2312, gbk };

// "gb2312", "gbk": the names --charset takes.
std::string_view charsetName(Charset charset);
std::optional<Charset> charsetNamed(std::string_view name);

// Places in a charset's grid: 94 x 94, or 126 lead bytes x 190 trail bytes.
std::size_t gridPlaces(Charset charset);
// The place of a double-byte code (as ansiCode gives it) in the grid, row by
// row; nothing for a code the grid has no place for.
std::optional<std::size_t> gridPlace(Charset charset, std::int16_t code);
// The double-byte code at `place`, the inverse of gridPlace.
std::int16_t gridCode(Charset charset, std::size_t place);

std::string singleByteFileName(CellSize cell);                   // "asc16"
std::string doubleByteFileName(CellSize cell, Charset charset);  // "hzk16", "gbk24"
std::size_t singleByteFileSize(CellSize cell);
std::size_t doubleByteFileSize(CellSize cell, Charset charset);

}  // namespace lumadot
