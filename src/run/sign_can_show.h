#pragma once

// What our sign shows: 16-dot glyphs (16 x 16 double-byte, 8 x 16
// single-byte), no wider in all than a frame carries. Every program asks
// here before it sends or plays glyphs, and words the refusal its own way.

#include <cstdint>
#include <optional>

#include "base/result.h"
#include "extract/font_layout.h"
#include "extract/glyphs.h"

namespace lumadot {

// The one glyph size the sign shows.
inline constexpr CellSize kSignCell{16, 16};

// Why the sign cannot show some glyphs.
struct SignRefusal {
  enum class Kind : std::uint8_t {
    glyphSize,  // the glyphs are `cell`, not kSignCell
    tooWide,    // the text is `columns` 8-dot columns wide, more than a frame carries
  };
  Kind kind = Kind::glyphSize;
  CellSize cell{};
  int columns = 0;

  friend bool operator==(const SignRefusal&, const SignRefusal&) = default;
};

// The answer: the sign shows them, or the refusal.
struct SignVerdict {
  std::optional<SignRefusal> refusal;

  explicit operator bool() const { return !refusal; }
};

// Glyphs of `cell`, before any is made: only their size can be refused.
SignVerdict signCanShow(CellSize cell);
// The glyphs themselves: their size, then their width.
SignVerdict signCanShow(const Glyphs& glyphs);

// The refusal as a failure, for a run that stops on it: the glyph size with
// its own cause, the width in the frame's words.
Failure signFailure(const SignRefusal& refusal);

}  // namespace lumadot
