#include "preview/png_image.h"

#include "preview/dot_raster.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace lumadot {

namespace {

// Gap is index 0 so a gap row is all zero bytes, like a repeated row under the Up filter.
constexpr std::array<PngColour, 3> kPalette{kDotGapColour, kDarkDotColour, kLitDotColour};

constexpr std::string_view kSignature{"\x89PNG\r\n\x1A\n", 8};
constexpr std::uint8_t kFilterNone = 0;
constexpr std::uint8_t kFilterUp = 2;
constexpr std::size_t kIdatChunkSize = std::size_t{1} << 16;
constexpr std::size_t kMaxPngDimension = 0x7FFFFFFF;

void appendUint32(std::string& out, std::size_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void appendChunk(std::string& out, std::string_view type, std::string_view data) {
  appendUint32(out, data.size());
  const std::size_t crcStart = out.size();
  out += type;
  out += data;
  const auto* crcBytes = reinterpret_cast<const Bytef*>(out.data() + crcStart);
  appendUint32(out, crc32_z(crc32_z(0, nullptr, 0), crcBytes, out.size() - crcStart));
}

Failure zlibFailure(int result, const z_stream& stream) {
  return Failure("cannot make the PNG: zlib: " + std::string(stream.msg != nullptr ? stream.msg : zError(result)));
}

// Deflates the scanlines straight into IDAT chunks, so even a picture of a
// million pixels a row never needs its whole raw image in memory. After a
// failure (zlib out of memory, at most) it writes nothing more.
class IdatWriter {
 public:
  explicit IdatWriter(std::string& png) : m_png(png), m_chunk(kIdatChunkSize) {
    if (const int result = deflateInit(&m_stream, Z_DEFAULT_COMPRESSION); result != Z_OK) {
      m_failure = zlibFailure(result, m_stream);
    }
  }
  ~IdatWriter() { deflateEnd(&m_stream); }
  IdatWriter(const IdatWriter&) = delete;
  IdatWriter& operator=(const IdatWriter&) = delete;

  void write(const std::vector<std::uint8_t>& scanline) {
    // A scanline is at most 1 + 0x7FFFFFFF bytes, which fits uInt.
    m_stream.next_in = const_cast<Bytef*>(scanline.data());
    m_stream.avail_in = static_cast<uInt>(scanline.size());
    while (!m_failure && m_stream.avail_in > 0) deflateInto(Z_NO_FLUSH);
  }

  Result<void> finish() {
    while (!m_failure && deflateInto(Z_FINISH) != Z_STREAM_END) {
    }
    if (m_failure) return *m_failure;
    emitChunk();
    return {};
  }

 private:
  int deflateInto(int flush) {
    if (m_used == m_chunk.size()) emitChunk();
    m_stream.next_out = reinterpret_cast<Bytef*>(m_chunk.data() + m_used);
    m_stream.avail_out = static_cast<uInt>(m_chunk.size() - m_used);
    const int result = deflate(&m_stream, flush);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) m_failure = zlibFailure(result, m_stream);
    m_used = m_chunk.size() - m_stream.avail_out;
    return result;
  }

  void emitChunk() {
    if (m_used == 0) return;
    appendChunk(m_png, "IDAT", {m_chunk.data(), m_used});
    m_used = 0;
  }

  std::string& m_png;
  std::vector<char> m_chunk;
  std::size_t m_used = 0;
  z_stream m_stream{};
  std::optional<Failure> m_failure;
};

std::string headerData(std::size_t width, std::size_t height) {
  std::string data;
  appendUint32(data, width);
  appendUint32(data, height);
  data += '\x08';  // bit depth
  data += '\x03';  // indexed colour
  data += std::string(3, '\0');  // deflate, adaptive filtering, no interlace
  return data;
}

std::string paletteData() {
  std::string data;
  for (const PngColour& colour : kPalette) {
    data += static_cast<char>(colour.red);
    data += static_cast<char>(colour.green);
    data += static_cast<char>(colour.blue);
  }
  return data;
}

}  // namespace

Result<std::string> pngImage(const DotPicture& picture, int scale) {
  std::string png;
  if (picture.width() == 0) return png;

  const auto dotSize = static_cast<std::size_t>(std::clamp(scale, kMinPngScale, kMaxPngScale));
  const std::size_t gap = dotGap(dotSize);
  const std::size_t width = static_cast<std::size_t>(picture.width()) * dotSize;
  const std::size_t height = static_cast<std::size_t>(picture.height()) * dotSize;
  if (width > kMaxPngDimension) return Failure("cannot make the PNG: the picture is too wide");

  png += kSignature;
  appendChunk(png, "IHDR", headerData(width, height));
  appendChunk(png, "PLTE", paletteData());

  // The rows of one square all match but the gap row, so only the first is
  // written out; the rest are zeros under the Up filter and deflate to almost nothing.
  std::vector<std::uint8_t> dotRow(width + 1);
  std::vector<std::uint8_t> repeatRow(width + 1, 0);
  repeatRow[0] = kFilterUp;
  const std::vector<std::uint8_t> gapRow(width + 1, kGapPixel);  // filter byte None is 0 as well
  dotRow[0] = kFilterNone;

  IdatWriter idat(png);
  for (int y = 0; y < picture.height(); ++y) {
    rasterDotRow(picture, y, 0, picture.width(), dotSize, dotRow.data() + 1);
    idat.write(dotRow);
    for (std::size_t row = 1; row < dotSize - gap; ++row) idat.write(repeatRow);
    if (gap != 0) idat.write(gapRow);
  }
  if (auto finished = idat.finish(); !finished) return finished.error();

  appendChunk(png, "IEND", {});
  return png;
}

}  // namespace lumadot
