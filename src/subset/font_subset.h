#pragma once

// A font subset as a value: the glyphs of a set of characters, each code once,
// in ascending code order, so a firmware finds a code by binary search.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "extract/byte_layout.h"
#include "extract/glyphs.h"
#include "subset/character_set.h"

namespace lumadot {

struct SubsetGlyph {
  CharCode code = 0;
  std::u16string character;
  Dots dots;
  std::vector<std::uint8_t> bytes;  // in the layout the glyphs were looked up in
};

struct FontSubset {
  CellSize cell{};                  // every glyph is the cell's height
  std::vector<SubsetGlyph> glyphs;  // ascending codes, each once

  std::size_t byteCount() const;
};

// The firmware's offsets into its glyph bytes are 16-bit.
inline constexpr std::size_t kMaxSubsetBytes = 65536;

// Fails, saying by how much, when the glyphs of `characters` at `cell`,
// scanned by `scan`, would pass kMaxSubsetBytes.
Result<void> checkSubsetSize(std::u16string_view characters, CellSize cell, Scan scan);

// The glyphs of a run, each code once (its first glyph), in ascending code order.
FontSubset fontSubset(const Glyphs& glyphs);

// Drops the glyphs of `characters` (code points).
void leaveOut(FontSubset& subset, std::span<const char32_t> characters);

}  // namespace lumadot
