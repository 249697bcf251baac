#pragma once

// Which layout a firmware's glyph bytes are in, found by drawing them in
// every layout and comparing each picture with the same character's glyph in
// our fonts. The firmware's font is rarely ours, so the comparison forgives a
// shift of up to two dots, and a dot that is off counts by how far off it is:
// another stroke width or a stroke a dot away costs little, a scrambled
// picture a lot.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "base/result.h"
#include "extract/byte_layout.h"

namespace lumadot {

struct LayoutFit {
  ByteLayout layout;
  GlyphPicture picture;  // what the bytes draw in this layout
  int misfit = 0;        // 0: our glyph dot for dot
  std::vector<ByteLayout> alike;  // later layouts that draw the same picture
};

// Every picture the bytes draw, by the first layout in allLayouts() order
// that draws it, the best fit first.
std::vector<LayoutFit> rankLayouts(std::span<const std::uint8_t> bytes, const GlyphPicture& ours);

// How badly `picture` fits `ours`: every dot of either counted by its
// distance (in dots, up to 8) to the nearest dot of the other, with `picture`
// moved by up to two dots whichever way fits best.
int misfit(const GlyphPicture& picture, const GlyphPicture& ours);

struct Detection {
  LayoutFit best;
  LayoutFit runnerUp;  // the best fit that draws another picture
  // False when the runner-up fits nearly as well, so that neither can be trusted.
  bool clear = true;
};

// The two best fits for `bytes` (glyphSize(ours.width) of them), or why the
// bytes cannot tell at all: they draw the same picture in every layout.
// Whether the best is far enough ahead to be trusted is `clear`; the caller
// words a close race with both layouts.
Result<Detection> detectLayout(std::span<const std::uint8_t> bytes, const GlyphPicture& ours);

}  // namespace lumadot
