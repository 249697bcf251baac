#include "extract/byte_layout.h"

#include <algorithm>
#include <bit>

namespace lumadot {
namespace {

constexpr int kGroup = 8;  // dots in a byte

constexpr std::array<std::string_view, 4> kScanNames{"rows", "row-bands", "columns", "column-bands"};

// Every layout is one of two base orders of 8-dot groups, then a change to
// each byte alone:
//  - the row scans take row y's group `band` (the dots 8 band .. 8 band + 7,
//    the leftmost in bit 7), rows by rows or bands by bands;
//  - the column scans take column x's group `level` (the rows 8 level ..
//    8 level + 7, the topmost in bit 7), columns by columns or levels by levels;
//  - the bit order (mirror) and the polarity (invert) then change each byte,
//    and each is its own inverse.
// A group cut short by the glyph's edge holds its dots from bit 7 and 0s
// after them, before the byte is mirrored or inverted.

std::size_t rowGroupAt(Scan scan, Dots dots, int y, int band) {
  return static_cast<std::size_t>(scan == Scan::rows ? y * bandsAcross(dots) + band : band * dots.height + y);
}

std::size_t columnGroupAt(Scan scan, Dots dots, int x, int level) {
  return static_cast<std::size_t>(scan == Scan::columns ? x * bandsDown(dots) + level : level * dots.width + x);
}

constexpr std::array<std::uint8_t, 256> kMirrored = [] {
  std::array<std::uint8_t, 256> table{};
  for (unsigned v = 0; v < 256; ++v) {
    unsigned m = 0;
    for (int bit = 0; bit < kGroup; ++bit) m |= ((v >> bit) & 1U) << (kGroup - 1 - bit);
    table[v] = static_cast<std::uint8_t>(m);
  }
  return table;
}();

void dress(std::span<std::uint8_t> bytes, const ByteLayout& layout) {
  const auto invert = static_cast<std::uint8_t>(layout.negative ? 0xFF : 0x00);
  if (layout.lsbFirst) {
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(kMirrored[b] ^ invert);
  } else if (layout.negative) {
    for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(b ^ invert);
  }
}

// An 8x8 block of dots, one byte a row (row 0 in the top byte, the leftmost
// dot in bit 7), turned so that each byte is a column (the topmost dot in
// bit 7); turning twice gives the block back. Three rounds of swapping ever
// larger squares across the diagonal.
std::uint64_t transposed(std::uint64_t x) {
  std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
  x ^= t ^ (t << 7);
  t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
  x ^= t ^ (t << 14);
  t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
  x ^= t ^ (t << 28);
  return x;
}

std::uint64_t widthMask(int width) { return width >= 64 ? ~std::uint64_t{0} : ~(~std::uint64_t{0} >> width); }

std::uint8_t rowGroup(const GlyphPicture& picture, int y, int band) {
  return static_cast<std::uint8_t>(picture.rows[static_cast<std::size_t>(y)] >> (56 - kGroup * band));
}

void putRowGroup(GlyphPicture& picture, int y, int band, std::uint8_t group) {
  picture.rows[static_cast<std::size_t>(y)] |= std::uint64_t{group} << (56 - kGroup * band);
}

// The 8x8 block of rows `level` and columns `band` as rows (row 0 in the top
// byte); rows past the glyph's foot are dark.
std::uint64_t rowsBlock(const GlyphPicture& picture, int band, int level) {
  std::uint64_t block = 0;
  const int rows = std::min(kGroup, picture.height - level * kGroup);
  for (int i = 0; i < kGroup; ++i) block = block << 8 | (i < rows ? rowGroup(picture, level * kGroup + i, band) : 0U);
  return block;
}

void encodeColumns(const GlyphPicture& picture, Scan scan, std::span<std::uint8_t> out) {
  const Dots dots = picture.dots();
  for (int band = 0; band < bandsAcross(dots); ++band) {
    const int columns = std::min(kGroup, dots.width - band * kGroup);
    for (int level = 0; level < bandsDown(dots); ++level) {
      const std::uint64_t block = transposed(rowsBlock(picture, band, level));
      for (int i = 0; i < columns; ++i) {
        out[columnGroupAt(scan, dots, band * kGroup + i, level)] =
            static_cast<std::uint8_t>(block >> (8 * (kGroup - 1 - i)));
      }
    }
  }
}

void decodeColumns(std::span<const std::uint8_t> bytes, Scan scan, GlyphPicture& picture) {
  const Dots dots = picture.dots();
  for (int band = 0; band < bandsAcross(dots); ++band) {
    const int columns = std::min(kGroup, dots.width - band * kGroup);
    for (int level = 0; level < bandsDown(dots); ++level) {
      std::uint64_t block = 0;
      for (int i = 0; i < kGroup; ++i) {
        block = block << 8 | (i < columns ? bytes[columnGroupAt(scan, dots, band * kGroup + i, level)] : 0U);
      }
      block = transposed(block);
      const int rows = std::min(kGroup, dots.height - level * kGroup);
      for (int i = 0; i < rows; ++i) {
        putRowGroup(picture, level * kGroup + i, band, static_cast<std::uint8_t>(block >> (8 * (kGroup - 1 - i))));
      }
    }
  }
}

}  // namespace

std::array<ByteLayout, kLayoutCount> allLayouts() {
  std::array<ByteLayout, kLayoutCount> layouts{};
  std::size_t n = 0;
  for (const bool negative : {false, true}) {
    for (const bool lsbFirst : {false, true}) {
      for (const Scan scan : kScans) {
        layouts[n++] = {scan, lsbFirst, negative};
      }
    }
  }
  return layouts;
}

std::string_view scanName(Scan scan) { return kScanNames[static_cast<std::size_t>(scan)]; }

std::optional<Scan> scanNamed(std::string_view name) {
  for (std::size_t i = 0; i < kScanNames.size(); ++i) {
    if (kScanNames[i] == name) return static_cast<Scan>(i);
  }
  return std::nullopt;
}

int GlyphPicture::litCount() const {
  int count = 0;
  for (const std::uint64_t row : rows) count += std::popcount(row);
  return count;
}

GlyphPicture decodeGlyph(std::span<const std::uint8_t> bytes, Dots dots, const ByteLayout& layout) {
  // Missing bytes draw dark dots.
  std::array<std::uint8_t, kMaxGlyphSize> stored;  // only the glyph's own bytes are filled and read
  const std::span<std::uint8_t> glyph(stored.data(), glyphSize(dots, layout.scan));
  std::fill(glyph.begin(), glyph.end(), layout.negative ? 0xFF : 0x00);
  std::copy_n(bytes.begin(), std::min(glyph.size(), bytes.size()), glyph.begin());
  dress(glyph, layout);

  GlyphPicture picture(dots);
  if (scansColumns(layout.scan)) {
    decodeColumns(glyph, layout.scan, picture);
  } else {
    for (int y = 0; y < dots.height; ++y) {
      for (int band = 0; band < bandsAcross(dots); ++band) {
        putRowGroup(picture, y, band, glyph[rowGroupAt(layout.scan, dots, y, band)]);
      }
    }
  }
  const std::uint64_t mask = widthMask(dots.width);
  for (int y = 0; y < dots.height; ++y) picture.rows[static_cast<std::size_t>(y)] &= mask;
  return picture;
}

void encodeGlyph(const GlyphPicture& picture, const ByteLayout& layout, std::span<std::uint8_t> out) {
  const Dots dots = picture.dots();
  const std::span<std::uint8_t> glyph = out.first(glyphSize(dots, layout.scan));
  if (scansColumns(layout.scan)) {
    encodeColumns(picture, layout.scan, glyph);
  } else {
    for (int y = 0; y < dots.height; ++y) {
      for (int band = 0; band < bandsAcross(dots); ++band) {
        glyph[rowGroupAt(layout.scan, dots, y, band)] = rowGroup(picture, y, band);
      }
    }
  }
  dress(glyph, layout);
}

void arrangeGlyph(std::span<const std::uint8_t> rowsBytes, Dots dots, const ByteLayout& layout,
                  std::span<std::uint8_t> out) {
  if (layout == ByteLayout{} && dots.width % kGroup == 0) {
    std::copy_n(rowsBytes.begin(), std::min(rowsBytes.size(), glyphSize(dots)), out.begin());
    return;
  }
  encodeGlyph(decodeGlyph(rowsBytes, dots, {}), layout, out);
}

BytePlace bytePlace(Dots dots, const ByteLayout& layout, int x, int y) {
  const bool columns = scansColumns(layout.scan);
  const std::size_t byte = columns ? columnGroupAt(layout.scan, dots, x, y / kGroup)
                                   : rowGroupAt(layout.scan, dots, y, x / kGroup);
  const int first = (columns ? y : x) % kGroup;  // the dot's place in its group, from the group's first dot
  return {byte, layout.lsbFirst ? first : kGroup - 1 - first};
}

}  // namespace lumadot
