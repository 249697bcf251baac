#pragma once

// Unifont .hex glyphs and lines for the tests of the reader and of the fonts built from it.

#include <cstdint>
#include <cstdio>
#include <string>

#include "fonts/unifont_hex.h"

namespace lumadot::test {

// A synthetic glyph whose every byte differs, so a misplaced row or half shows.
inline UnifontGlyph makeGlyph(int width, unsigned seed) {
  UnifontGlyph g;
  g.width = width;
  for (unsigned i = 0; i < static_cast<unsigned>(width) * 2; ++i) {
    g.bytes[i] = static_cast<std::uint8_t>(seed * 37 + i * 11 + 1);
  }
  return g;
}

inline std::string hexLine(char32_t code, const UnifontGlyph& g) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X:", static_cast<unsigned>(code));
  std::string line = buf;
  for (int i = 0; i < g.width * 2; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", g.bytes[static_cast<std::size_t>(i)]);
    line += buf;
  }
  return line + "\n";
}

}  // namespace lumadot::test
