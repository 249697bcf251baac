#pragma once

// What the layout detector's answer means for the bytes a user gave: a
// layout found, or why not. The CLI's detect and the workbench's dialog
// both ask here and only word the verdict.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "extract/glyphs.h"
#include "extract/layout_detector.h"

namespace lumadot {

struct ByteVerdict {
  enum class Kind : std::uint8_t {
    symbol,       // `character` is double-byte but no Chinese one: symbols differ too much from font to font
    blank,        // our glyphs hold no dot, so there is nothing to compare with
    wrongCount,   // `given` bytes, but our glyphs take `wanted`
    unjudgeable,  // the bytes cannot tell at all; `reason` says why
    closeRace,    // the runner-up of `detection` fits nearly as well
    found,        // `detection`'s best layout
  };
  Kind kind = Kind::found;
  std::u16string character;
  std::size_t given = 0;
  GlyphBytes wanted;
  std::string reason;
  std::optional<Detection> detection;  // closeRace and found
};

// The first character of `characters` that cannot tell a layout, before any
// glyph is drawn; nothing when each can.
std::optional<ByteVerdict> judgeCharacters(std::u16string_view characters);

// Whether every one of our glyphs is blank.
bool allBlank(std::span<const GlyphPicture> ours);

// What `bytes` tell, the glyphs of `ours` one after another: blank glyphs,
// a count no layout gives, or the detector's answer.
ByteVerdict judgeBytes(std::span<const std::uint8_t> bytes, std::span<const GlyphPicture> ours);

// The given bytes as the glyphs of `characters`, whose glyphs in our fonts
// are `ours`, each as many bytes as `layout` gives its picture; empty when
// they do not come out even.
Glyphs givenGlyphs(std::u16string_view characters, std::span<const GlyphPicture> ours,
                   std::span<const std::uint8_t> bytes, const ByteLayout& layout);

}  // namespace lumadot
