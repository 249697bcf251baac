#pragma once

#include <cstdint>

namespace lumadot {

// Bit 7 becomes bit 0, bit 6 bit 1, and so on.
std::uint8_t reverseBits(std::uint8_t value);

}  // namespace lumadot
