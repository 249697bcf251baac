#include "extract/byte_layout.h"

#include <bit>

#include "extract/bit_order.h"

namespace lumadot {
namespace {

constexpr int kGroup = 8;  // dots in a byte
constexpr int kLevels = GlyphPicture::kHeight / kGroup;

constexpr std::array<std::string_view, 4> kScanNames{"rows", "row-bands", "columns", "column-bands"};

// An 8x8 block of dots, one byte a row (row 0 in the top byte, the leftmost
// dot in bit 7), turned so that each byte is a column (the topmost dot in
// bit 7). Three rounds of swapping ever larger squares across the diagonal.
std::uint64_t transposed(std::uint64_t x) {
  std::uint64_t t = (x ^ (x >> 7)) & 0x00AA00AA00AA00AAULL;
  x ^= t ^ (t << 7);
  t = (x ^ (x >> 14)) & 0x0000CCCC0000CCCCULL;
  x ^= t ^ (t << 14);
  t = (x ^ (x >> 28)) & 0x00000000F0F0F0F0ULL;
  x ^= t ^ (t << 28);
  return x;
}

// The 8 dots of row y in band `band` (0 the left 8 dots), the leftmost in bit 7.
std::uint8_t rowGroup(const GlyphPicture& picture, int band, int y) {
  return static_cast<std::uint8_t>(picture.rows[static_cast<std::size_t>(y)] >> (kGroup * (1 - band)));
}

void setRowGroup(GlyphPicture& picture, int band, int y, std::uint8_t dots) {
  auto& row = picture.rows[static_cast<std::size_t>(y)];
  row = static_cast<std::uint16_t>(row | dots << (kGroup * (1 - band)));
}

// Where a column scan stores column x's dots of level `level` (0 the top 8 rows).
std::size_t columnIndex(Scan scan, int width, int x, int level) {
  return static_cast<std::size_t>(scan == Scan::columns ? x * kLevels + level : level * width + x);
}

// Byte i of a row scan holds row y's dots of band `band`.
struct RowGroup {
  int band;
  int y;
};

RowGroup rowGroupAt(Scan scan, int width, int i) {
  if (scan == Scan::rows) {
    const int bands = width / kGroup;
    return {i % bands, i / bands};
  }
  return {i / GlyphPicture::kHeight, i % GlyphPicture::kHeight};
}

bool scansColumns(Scan scan) { return scan == Scan::columns || scan == Scan::columnBands; }

// Polarity and bit order of one byte; each is its own inverse.
std::uint8_t dress(std::uint8_t value, const ByteLayout& layout) {
  if (layout.lsbFirst) value = reverseBits(value);
  return layout.negative ? static_cast<std::uint8_t>(~value) : value;
}

// The 8 column bytes of the block at `band` and `level`, packed top byte first.
std::uint64_t columnBlock(const GlyphPicture& picture, int band, int level) {
  std::uint64_t rows = 0;
  for (int y = level * kGroup; y < (level + 1) * kGroup; ++y) rows = rows << 8 | rowGroup(picture, band, y);
  return transposed(rows);
}

std::uint8_t byteOf(std::uint64_t block, int i) { return static_cast<std::uint8_t>(block >> (8 * (7 - i))); }

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

std::string layoutOptions(const ByteLayout& layout) {
  std::string options = "--scan " + std::string(scanName(layout.scan));
  if (layout.lsbFirst) options += " --lsb-first";
  if (layout.negative) options += " --negative";
  return options;
}

int GlyphPicture::litCount() const {
  int count = 0;
  for (const std::uint16_t row : rows) count += std::popcount(row);
  return count;
}

GlyphPicture decodeGlyph(std::span<const std::uint8_t> bytes, int width, const ByteLayout& layout) {
  GlyphPicture picture;
  picture.width = width;
  // Plain bytes, the first dot in bit 7 and 1 = lit; missing ones dark.
  std::array<std::uint8_t, glyphSize(GlyphPicture::kMaxWidth)> plain{};
  const std::size_t size = glyphSize(width);
  for (std::size_t i = 0; i < size && i < bytes.size(); ++i) plain[i] = dress(bytes[i], layout);

  if (!scansColumns(layout.scan)) {
    for (int i = 0; i < static_cast<int>(size); ++i) {
      const auto [band, y] = rowGroupAt(layout.scan, width, i);
      setRowGroup(picture, band, y, plain[static_cast<std::size_t>(i)]);
    }
    return picture;
  }
  for (int band = 0; band < width / kGroup; ++band) {
    for (int level = 0; level < kLevels; ++level) {
      std::uint64_t columns = 0;
      for (int x = band * kGroup; x < (band + 1) * kGroup; ++x) {
        columns = columns << 8 | plain[columnIndex(layout.scan, width, x, level)];
      }
      const std::uint64_t rows = transposed(columns);
      for (int i = 0; i < kGroup; ++i) setRowGroup(picture, band, level * kGroup + i, byteOf(rows, i));
    }
  }
  return picture;
}

void encodeGlyph(const GlyphPicture& picture, const ByteLayout& layout, std::span<std::uint8_t> out) {
  const int width = picture.width;
  const int size = static_cast<int>(glyphSize(width));
  if (!scansColumns(layout.scan)) {
    for (int i = 0; i < size; ++i) {
      const auto [band, y] = rowGroupAt(layout.scan, width, i);
      out[static_cast<std::size_t>(i)] = dress(rowGroup(picture, band, y), layout);
    }
    return;
  }
  for (int band = 0; band < width / kGroup; ++band) {
    for (int level = 0; level < kLevels; ++level) {
      const std::uint64_t columns = columnBlock(picture, band, level);
      for (int i = 0; i < kGroup; ++i) {
        out[columnIndex(layout.scan, width, band * kGroup + i, level)] = dress(byteOf(columns, i), layout);
      }
    }
  }
}

void arrangeGlyph(std::span<std::uint8_t> glyph, const ByteLayout& layout) {
  if (layout == ByteLayout{}) return;
  const int width = static_cast<int>(glyph.size() / 2);
  encodeGlyph(decodeGlyph(glyph, width, ByteLayout{}), layout, glyph);
}

}  // namespace lumadot
