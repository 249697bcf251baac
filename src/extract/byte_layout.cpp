#include "extract/byte_layout.h"

#include <algorithm>
#include <bit>
#include <cstring>


namespace lumadot {
namespace {

constexpr int kGroup = 8;  // dots in a byte
constexpr int kLevels = GlyphPicture::kHeight / kGroup;
constexpr std::size_t kMaxSize = glyphSize(GlyphPicture::kMaxWidth);

constexpr std::array<std::string_view, 4> kScanNames{"rows", "row-bands", "columns", "column-bands"};

// Every layout is one of two base orders, then perhaps a reordering of whole
// bytes, then a change to each byte:
//  - rows order, as the font files store a glyph: byte `y * bands + band` is
//    row y's 8 dots in band `band`, the leftmost in bit 7;
//  - columns order: byte `2x + level` is column x's 8 dots in level `level`
//    (0 the top 8 rows), the topmost in bit 7;
//  - the band scans take the bytes of their base order band by band;
//  - the bit order and the polarity change each byte alone.
using GlyphBytes = std::array<std::uint8_t, kMaxSize>;

bool scansColumns(Scan scan) { return scan == Scan::columns || scan == Scan::columnBands; }

// A row (of 16 dots) or a column has two groups, consecutive bytes of the
// base order; a band scan takes every first group, then every second one.
// A single-byte glyph's rows have one group, so its row-bands are its rows.
bool splitsGroups(Scan scan, int width) {
  return scan == Scan::columnBands || (scan == Scan::rowBands && width > kGroup);
}

template <std::size_t Size, bool Back>
void separateGroups(const GlyphBytes& from, GlyphBytes& to) {
  for (std::size_t i = 0; i < Size / 2; ++i) {
    if constexpr (Back) {
      to[2 * i] = from[i];
      to[2 * i + 1] = from[Size / 2 + i];
    } else {
      to[i] = from[2 * i];
      to[Size / 2 + i] = from[2 * i + 1];
    }
  }
}

template <bool Back>
void separateGroups(const GlyphBytes& from, GlyphBytes& to, int width) {
  if (width > kGroup) {
    separateGroups<glyphSize(GlyphPicture::kMaxWidth), Back>(from, to);
  } else {
    separateGroups<glyphSize(kGroup), Back>(from, to);
  }
}

// The bit order (mirror) and polarity (invert) of eight bytes at once; each
// is its own inverse.
std::uint64_t dressed(std::uint64_t bytes, bool mirror, bool invert) {
  if (mirror) {
    bytes = (bytes >> 4 & 0x0F0F0F0F0F0F0F0FULL) | (bytes & 0x0F0F0F0F0F0F0F0FULL) << 4;
    bytes = (bytes >> 2 & 0x3333333333333333ULL) | (bytes & 0x3333333333333333ULL) << 2;
    bytes = (bytes >> 1 & 0x5555555555555555ULL) | (bytes & 0x5555555555555555ULL) << 1;
  }
  return invert ? ~bytes : bytes;
}

void dress(GlyphBytes& bytes, bool mirror, bool invert) {
  if (!mirror && !invert) return;
  for (std::size_t at = 0; at < kMaxSize; at += sizeof(std::uint64_t)) {
    std::uint64_t eight = 0;
    std::memcpy(&eight, bytes.data() + at, sizeof eight);
    eight = dressed(eight, mirror, invert);
    std::memcpy(bytes.data() + at, &eight, sizeof eight);
  }
}

// An 8x8 block of dots, one byte a row (row 0 in the top byte, the leftmost
// dot in bit 7), turned so that each byte is a column (the topmost dot in
// bit 7), and back. Three rounds of swapping ever larger squares across the
// diagonal.
std::uint64_t transposed(std::uint64_t x) {
  std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
  x ^= t ^ (t << 7);
  t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
  x ^= t ^ (t << 14);
  t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
  x ^= t ^ (t << 28);
  return x;
}

// Rows order to columns order (ToColumns), or back, one 8x8 block at a
// time. Taking a block's rows bottom up puts the topmost dot of each column
// in bit 0, so the columns come out lsb-first at no cost. The width is a
// constant so that every index is one.
template <int Width, bool ToColumns, bool BottomUp>
void turnBlocks(const GlyphBytes& in, GlyphBytes& out) {
  constexpr int kBands = Width / kGroup;
  for (int band = 0; band < kBands; ++band) {
    for (int level = 0; level < kLevels; ++level) {
      const auto rowAt = [&](int i) {
        const int y = level * kGroup + (BottomUp ? kGroup - 1 - i : i);
        return static_cast<std::size_t>(y * kBands + band);
      };
      const auto columnAt = [&](int i) { return static_cast<std::size_t>(kLevels * (band * kGroup + i) + level); };
      std::uint64_t block = 0;
#pragma GCC unroll 8
      for (int i = 0; i < kGroup; ++i) block = block << 8 | in[ToColumns ? rowAt(i) : columnAt(i)];
      block = transposed(block);
#pragma GCC unroll 8
      for (int i = 0; i < kGroup; ++i) {
        out[ToColumns ? columnAt(i) : rowAt(i)] = static_cast<std::uint8_t>(block >> (8 * (kGroup - 1 - i)));
      }
    }
  }
}

template <bool ToColumns, bool BottomUp>
void turn(const GlyphBytes& in, GlyphBytes& out, int width) {
  if (width > kGroup) {
    turnBlocks<GlyphPicture::kMaxWidth, ToColumns, BottomUp>(in, out);
  } else {
    turnBlocks<kGroup, ToColumns, BottomUp>(in, out);
  }
}

template <bool ToColumns>
void turn(const GlyphBytes& in, GlyphBytes& out, int width, bool lsbFirst) {
  if (lsbFirst) {
    turn<ToColumns, true>(in, out, width);
  } else {
    turn<ToColumns, false>(in, out, width);
  }
}

// Bytes in rows order into `layout`. Every step works on all kMaxSize bytes,
// so its loops have fixed bounds; a narrow glyph ignores its second half.
GlyphBytes fromRowsOrder(const GlyphBytes& rowsOrder, int width, const ByteLayout& layout) {
  const bool columns = scansColumns(layout.scan);
  GlyphBytes base = rowsOrder;
  if (columns) turn<true>(rowsOrder, base, width, layout.lsbFirst);
  GlyphBytes out = base;
  if (splitsGroups(layout.scan, width)) separateGroups<false>(base, out, width);
  dress(out, layout.lsbFirst && !columns, layout.negative);
  return out;
}

// Bytes in `layout` back into rows order.
GlyphBytes toRowsOrder(GlyphBytes bytes, int width, const ByteLayout& layout) {
  const bool columns = scansColumns(layout.scan);
  dress(bytes, layout.lsbFirst && !columns, layout.negative);
  GlyphBytes base = bytes;
  if (splitsGroups(layout.scan, width)) separateGroups<true>(bytes, base, width);
  if (!columns) return base;
  GlyphBytes rowsOrder{};
  turn<false>(base, rowsOrder, width, layout.lsbFirst);
  return rowsOrder;
}

// Copies a whole glyph, of a size known at compile time.
void copyGlyph(const std::uint8_t* from, std::uint8_t* to, int width) {
  if (width > kGroup) {
    std::memcpy(to, from, glyphSize(GlyphPicture::kMaxWidth));
  } else {
    std::memcpy(to, from, glyphSize(kGroup));
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
  for (const std::uint16_t row : rows) count += std::popcount(row);
  return count;
}

GlyphPicture decodeGlyph(std::span<const std::uint8_t> bytes, int width, const ByteLayout& layout) {
  // Missing bytes draw dark dots.
  GlyphBytes stored{};
  stored.fill(layout.negative ? 0xFF : 0x00);
  std::copy_n(bytes.begin(), std::min(glyphSize(width), bytes.size()), stored.begin());
  const GlyphBytes rowsOrder = toRowsOrder(stored, width, layout);

  GlyphPicture picture;
  picture.width = width;
  const int bands = width / kGroup;
  for (int y = 0; y < GlyphPicture::kHeight; ++y) {
    auto& row = picture.rows[static_cast<std::size_t>(y)];
    for (int band = 0; band < bands; ++band) {
      row = static_cast<std::uint16_t>(row | rowsOrder[static_cast<std::size_t>(y * bands + band)]
                                                 << (kGroup * (1 - band)));
    }
  }
  return picture;
}

void encodeGlyph(const GlyphPicture& picture, const ByteLayout& layout, std::span<std::uint8_t> out) {
  const int bands = picture.width / kGroup;
  GlyphBytes rowsOrder{};
  for (int y = 0; y < GlyphPicture::kHeight; ++y) {
    for (int band = 0; band < bands; ++band) {
      rowsOrder[static_cast<std::size_t>(y * bands + band)] =
          static_cast<std::uint8_t>(picture.rows[static_cast<std::size_t>(y)] >> (kGroup * (1 - band)));
    }
  }
  copyGlyph(fromRowsOrder(rowsOrder, picture.width, layout).data(), out.data(), picture.width);
}

void arrangeGlyph(std::span<std::uint8_t> glyph, const ByteLayout& layout) {
  if (layout == ByteLayout{}) return;
  const int width = glyph.size() > glyphSize(kGroup) ? GlyphPicture::kMaxWidth : kGroup;
  GlyphBytes rowsOrder{};
  copyGlyph(glyph.data(), rowsOrder.data(), width);
  copyGlyph(fromRowsOrder(rowsOrder, width, layout).data(), glyph.data(), width);
}

}  // namespace lumadot
