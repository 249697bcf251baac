#pragma once

#include <array>
#include <cstdint>

namespace lumadot::test {

// Bit 7 becomes bit 0, bit 6 bit 1, and so on: what a reversed layout does to
// each byte, worked out apart from the code that lays the bytes out.
inline std::uint8_t reverseBits(std::uint8_t value) {
  // Each hex digit with its four bits reversed.
  constexpr std::array<std::uint8_t, 16> kReversedNibble{0x0, 0x8, 0x4, 0xC, 0x2, 0xA, 0x6, 0xE,
                                                         0x1, 0x9, 0x5, 0xD, 0x3, 0xB, 0x7, 0xF};
  return static_cast<std::uint8_t>(kReversedNibble[value & 0x0Fu] << 4 | kReversedNibble[value >> 4]);
}

}  // namespace lumadot::test
