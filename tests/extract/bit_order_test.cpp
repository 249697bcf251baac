// The test's own bit reversal, which the layout tests check the program's against.
#include "support/bit_order.h"

#include <gtest/gtest.h>

namespace lumadot {
namespace {

using test::reverseBits;

TEST(ReverseBits, KnownValues) {
  const std::pair<int, int> cases[] = {{0x00, 0x00}, {0x01, 0x80}, {0x12, 0x48}, {0x0C, 0x30}, {0xF0, 0x0F},
                                       {0x3C, 0x3C}, {0x81, 0x81}, {0xFF, 0xFF}, {0xA5, 0xA5}, {0x80, 0x01}};
  for (const auto& [in, out] : cases) {
    EXPECT_EQ(reverseBits(static_cast<std::uint8_t>(in)), out) << "input " << in;
  }
}

TEST(ReverseBits, EveryByteMirrorsItsBits) {
  for (int v = 0; v < 256; ++v) {
    int mirrored = 0;
    for (int bit = 0; bit < 8; ++bit) {
      if (v & (1 << bit)) mirrored |= 1 << (7 - bit);
    }
    EXPECT_EQ(reverseBits(static_cast<std::uint8_t>(v)), mirrored) << "input " << v;
  }
}

}  // namespace
}  // namespace lumadot
