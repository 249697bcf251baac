#include "subset/font_subset.h"

#include <algorithm>

#include "extract/ansi_code.h"
#include "extract/text_codec.h"

namespace lumadot {

std::size_t FontSubset::byteCount() const {
  std::size_t count = 0;
  for (const SubsetGlyph& glyph : glyphs) count += glyph.bytes.size();
  return count;
}

Result<void> checkSubsetSize(std::u16string_view characters, CellSize cell, Scan scan) {
  std::size_t bytes = 0;
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < characters.size(); pos += characterLength(characters, pos), ++count) {
    bytes += glyphSize(cell.of(ansiCode(characterAt(characters, pos)) < 0), scan);
  }
  if (bytes <= kMaxSubsetBytes) return {};
  return Failure("the " + std::to_string(count) + " glyphs take " + std::to_string(bytes) + " bytes, " +
                 std::to_string(bytes - kMaxSubsetBytes) + " more than the " + std::to_string(kMaxSubsetBytes) +
                 " an 8051's 16-bit offsets reach; leave some characters out or choose a smaller --size");
}

FontSubset fontSubset(const Glyphs& glyphs) {
  FontSubset subset{glyphs.cell, {}};
  for (const Glyph& glyph : glyphs.glyphs) {
    const auto first = glyphs.bytes.begin() + static_cast<std::ptrdiff_t>(glyph.offset);
    subset.glyphs.push_back({charCode(glyph.code), glyph.character, glyphs.dots(glyph),
                             {first, first + static_cast<std::ptrdiff_t>(glyph.size)}});
  }
  // Stable, so of glyphs that share a code the first stays.
  // (Iterator algorithms, not ranges: clang 14 cannot build the ranges ones against libstdc++ 12.)
  auto& kept = subset.glyphs;
  std::stable_sort(kept.begin(), kept.end(), [](const SubsetGlyph& a, const SubsetGlyph& b) { return a.code < b.code; });
  kept.erase(std::unique(kept.begin(), kept.end(),
                         [](const SubsetGlyph& a, const SubsetGlyph& b) { return a.code == b.code; }),
             kept.end());
  return subset;
}

void leaveOut(FontSubset& subset, std::span<const char32_t> characters) {
  std::erase_if(subset.glyphs, [characters](const SubsetGlyph& glyph) {
    return std::find(characters.begin(), characters.end(), characterAt(glyph.character, 0)) != characters.end();
  });
}

}  // namespace lumadot
