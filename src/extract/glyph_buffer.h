#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace lumadot {

// The window's store of glyph bytes. Only entries below fillCount belong to
// the current run; the rest are left over and never read.
struct GlyphBuffer {
  static constexpr std::int32_t kCapacity = 65536;

  std::array<std::uint8_t, kCapacity> glyphBytes{};
  std::int32_t fillCount = 0;

  // False, writing nothing, once the buffer is full.
  [[nodiscard]] bool append(std::uint8_t value) noexcept {
    if (fillCount >= kCapacity) return false;
    glyphBytes[static_cast<std::size_t>(fillCount)] = value;
    ++fillCount;
    return true;
  }

  std::span<const std::uint8_t> filled() const noexcept {
    return {glyphBytes.data(), static_cast<std::size_t>(fillCount)};
  }
  std::span<std::uint8_t> filled() noexcept { return {glyphBytes.data(), static_cast<std::size_t>(fillCount)}; }
};

}  // namespace lumadot
