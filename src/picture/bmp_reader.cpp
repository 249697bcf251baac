// Windows and OS/2 bitmaps, uncompressed: 1, 4, 8, 24 and 32 bits a pixel,
// palettes, bottom-up and top-down, and BI_BITFIELDS at 16 and 32 bits.
// Every offset is checked against the file before it is read.
#include <array>
#include <bit>

#include "picture/picture_decoders.h"

namespace lumadot::picture_detail {
namespace {

constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kCoreHeader = 12;  // OS/2: 16-bit sides, 3-byte palette entries
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitfields = 3;
constexpr std::uint32_t kAlphaBitfields = 6;

std::uint32_t le(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

struct BmpHeader {
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: top-down
  int bits = 0;
  std::uint32_t compression = kRgb;
  std::size_t paletteAt = 0;
  std::size_t paletteEntry = 4;
  std::size_t colours = 0;
  std::array<std::uint32_t, 4> masks{};  // red, green, blue, alpha
  std::size_t pixelsAt = 0;
};

// A mask's channel scaled to 8 bits.
std::uint8_t channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0) return 0xFF;
  const std::uint32_t value = (pixel & mask) >> std::countr_zero(mask);
  const std::uint32_t most = mask >> std::countr_zero(mask);
  return static_cast<std::uint8_t>((std::uint64_t{value} * 255 + most / 2) / most);
}

void readMasks(std::span<const std::uint8_t> bytes, std::size_t headerSize, BmpHeader& header) {
  // A 40-byte header keeps its masks after it; the longer ones inside it.
  const std::size_t at = kFileHeader + 40;
  const std::size_t count =
      headerSize > 40 ? (headerSize >= 56 ? 4 : 3) : (header.compression == kAlphaBitfields ? 4 : 3);
  for (std::size_t i = 0; i < count && at + i * 4 + 4 <= bytes.size(); ++i) header.masks[i] = le(bytes, at + i * 4, 4);
  if (headerSize == 40) header.paletteAt += count * 4;
}

Result<BmpHeader> readHeader(std::span<const std::uint8_t> bytes, const std::string& name) {
  if (bytes.size() < kFileHeader + 4) return truncated(name, "BMP");
  const std::size_t size = le(bytes, kFileHeader, 4);
  if (size != kCoreHeader && (size < 40 || size > 1024)) return damaged(name, "BMP", "unknown header");
  if (bytes.size() < kFileHeader + size) return truncated(name, "BMP");
  BmpHeader header;
  const bool core = size == kCoreHeader;
  // The core header's sides are unsigned; the others' are signed, a negative height meaning top-down.
  header.width = core ? std::int64_t{le(bytes, 18, 2)} : std::int64_t{static_cast<std::int32_t>(le(bytes, 18, 4))};
  header.height = core ? std::int64_t{le(bytes, 20, 2)} : std::int64_t{static_cast<std::int32_t>(le(bytes, 22, 4))};
  header.bits = static_cast<int>(le(bytes, core ? 24 : 28, 2));
  header.compression = core ? kRgb : le(bytes, 30, 4);
  header.colours = core ? 0 : le(bytes, 46, 4);
  header.paletteEntry = core ? 3 : 4;
  header.paletteAt = kFileHeader + size;
  header.pixelsAt = le(bytes, 10, 4);
  if (header.compression == kBitfields || header.compression == kAlphaBitfields) readMasks(bytes, size, header);
  if (header.compression == kRgb && header.bits == 16) {  // 5 bits each of red, green and blue
    header.compression = kBitfields;
    header.masks = {0x7C00, 0x03E0, 0x001F, 0};
  }
  return header;
}

std::string refusal(const BmpHeader& header) {
  const bool fields = header.compression == kBitfields || header.compression == kAlphaBitfields;
  if (header.compression != kRgb && !fields) {
    return "compression " + std::to_string(header.compression) + " (only uncompressed bitmaps are read)";
  }
  if (fields && header.bits != 16 && header.bits != 32) return "bit fields at " + std::to_string(header.bits) + " bits";
  if (!fields && header.bits != 1 && header.bits != 4 && header.bits != 8 && header.bits != 24 && header.bits != 32) {
    return std::to_string(header.bits) + " bits a pixel";
  }
  return {};
}

using Palette = std::vector<std::array<std::uint8_t, 4>>;

Palette readPalette(std::span<const std::uint8_t> bytes, const BmpHeader& header) {
  Palette palette;
  if (header.bits > 8) return palette;
  const std::size_t count =
      header.colours == 0 || header.colours > 256 ? std::size_t{1} << header.bits : header.colours;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = header.paletteAt + i * header.paletteEntry;
    if (at + 3 > bytes.size() || at + 3 > header.pixelsAt) break;
    palette.push_back({bytes[at + 2], bytes[at + 1], bytes[at], 0xFF});
  }
  return palette;
}

// Pixel x of a row, as RGBA.
std::array<std::uint8_t, 4> pixelAt(const std::uint8_t* row, std::int64_t x, const BmpHeader& header,
                                    const Palette& palette) {
  const auto ux = static_cast<std::size_t>(x);
  if (header.bits <= 8) {
    const std::size_t bit = ux * static_cast<std::size_t>(header.bits);
    const unsigned bits = static_cast<unsigned>(header.bits);
    const unsigned index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1U << bits) - 1U);
    return index < palette.size() ? palette[index] : std::array<std::uint8_t, 4>{0, 0, 0, 0xFF};
  }
  const std::uint8_t* p = row + ux * static_cast<std::size_t>(header.bits / 8);
  if (header.compression == kRgb) return {p[2], p[1], p[0], 0xFF};  // a 32-bit pixel's fourth byte is unused
  const std::uint32_t v = header.bits == 16 ? std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 : le({p, 4}, 0, 4);
  const auto& m = header.masks;
  return {channel(v, m[0]), channel(v, m[1]), channel(v, m[2]), channel(v, m[3])};
}

}  // namespace

Result<RgbaPicture> decodeBmp(std::span<const std::uint8_t> bytes, const std::string& name) {
  const auto header = readHeader(bytes, name);
  if (!header) return header.error();
  if (const std::string why = refusal(*header); !why.empty()) {
    return Failure(name + ": cannot read this BMP: " + why)
        .because({CauseKind::pictureKind, {}, {static_cast<std::int64_t>(header->compression), header->bits}});
  }
  const std::uint64_t width = header->width < 0 ? 0 : static_cast<std::uint64_t>(header->width);
  const std::uint64_t height = static_cast<std::uint64_t>(header->height < 0 ? -header->height : header->height);
  if (auto tooLarge = sizeRefusal(name, width, height)) return *tooLarge;
  const std::size_t stride = (width * static_cast<std::uint64_t>(header->bits) + 31) / 32 * 4;
  if (header->pixelsAt > bytes.size() || (bytes.size() - header->pixelsAt) / stride < height) {
    return truncated(name, "BMP");
  }
  const Palette palette = readPalette(bytes, *header);
  RgbaPicture out = blankPicture(static_cast<int>(width), static_cast<int>(height));
  for (std::uint64_t y = 0; y < height; ++y) {
    const std::uint64_t stored = header->height < 0 ? y : height - 1 - y;  // bottom-up unless the height is negative
    const std::uint8_t* row = bytes.data() + header->pixelsAt + stored * stride;
    for (std::uint64_t x = 0; x < width; ++x) {
      const auto pixel = pixelAt(row, static_cast<std::int64_t>(x), *header, palette);
      std::copy(pixel.begin(), pixel.end(), out.rgba.begin() + static_cast<std::ptrdiff_t>((y * width + x) * 4));
    }
  }
  return out;
}

}  // namespace lumadot::picture_detail
