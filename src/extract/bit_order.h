#pragma once

#include <cstdint>

#include "extract/glyph_buffer.h"

namespace lumadot {

// Bit 7 becomes bit 0, bit 6 bit 1, and so on.
std::uint8_t reverseBits(std::uint8_t value);

// Reverses every filled entry in place; no byte moves, so the 8*16 order survives.
void reverseBitOrder(GlyphBuffer& buffer);

}  // namespace lumadot
