#include "glyph_lookup.h"

#include <array>

#include "ansi_code.h"

namespace lumadot {
namespace {

LookupStatus toLookupStatus(FontStatus s) {
  return s == FontStatus::openFailed ? LookupStatus::openFailed : LookupStatus::readFailed;
}

}  // namespace

LookupStatus english(GlyphBuffer& buffer, FontFile& asc16, std::uint8_t code) {
  std::array<std::uint8_t, kAsc16GlyphSize> g{};
  if (const FontStatus s = asc16.read(std::uint64_t{code} * kAsc16GlyphSize, g); s != FontStatus::ok) {
    return toLookupStatus(s);
  }
  for (const std::uint8_t v : g) {
    if (!buffer.append(v)) return LookupStatus::bufferFull;
  }
  return LookupStatus::ok;
}

LookupStatus hzdz(GlyphBuffer& buffer, FontFile& hzk16, std::int16_t code, bool split8x16) {
  const int row = leadByte(code) - 0xA0;
  const int column = trailByte(code) - 0xA0;
  std::array<std::uint8_t, kHzk16GlyphSize> g{};
  if (row >= 1 && row <= kGridSize && column >= 1 && column <= kGridSize) {
    const auto k = static_cast<std::uint64_t>((row - 1) * kGridSize + (column - 1));
    if (const FontStatus s = hzk16.read(k * kHzk16GlyphSize, g); s != FontStatus::ok) return toLookupStatus(s);
  }
  if (!split8x16) {
    for (const std::uint8_t v : g) {
      if (!buffer.append(v)) return LookupStatus::bufferFull;
    }
    return LookupStatus::ok;
  }
  for (const std::size_t half : {0u, 1u}) {
    for (std::size_t i = half; i < g.size(); i += 2) {
      if (!buffer.append(g[i])) return LookupStatus::bufferFull;
    }
  }
  return LookupStatus::ok;
}

}  // namespace lumadot
