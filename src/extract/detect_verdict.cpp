#include "extract/detect_verdict.h"

#include <algorithm>
#include <utility>

#include "extract/ansi_code.h"
#include "extract/character_walk.h"

namespace lumadot {
namespace {

// Chinese characters: GB2312's rows of them, and GBK's two blocks beside them.
bool isChinese(std::int16_t code) {
  const int lead = leadByte(code), trail = trailByte(code);
  return (lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1) || (lead >= 0x81 && lead <= 0xA0) ||
         (lead >= 0xAA && trail <= 0xA0);
}

}  // namespace

std::optional<ByteVerdict> judgeCharacters(std::u16string_view characters) {
  CharacterWalk walk(characters);
  while (const auto character = walk.next()) {
    if (isDoubleByte(*character) && !isChinese(character->code)) {
      ByteVerdict verdict;
      verdict.kind = ByteVerdict::Kind::symbol;
      verdict.character = std::u16string(character->text);
      return verdict;
    }
  }
  return std::nullopt;
}

bool allBlank(std::span<const GlyphPicture> ours) {
  return std::all_of(ours.begin(), ours.end(), [](const GlyphPicture& picture) { return picture.litCount() == 0; });
}

ByteVerdict judgeBytes(std::span<const std::uint8_t> bytes, std::span<const GlyphPicture> ours) {
  ByteVerdict verdict;
  if (allBlank(ours)) {
    verdict.kind = ByteVerdict::Kind::blank;
    return verdict;
  }
  verdict.given = bytes.size();
  verdict.wanted = glyphBytes(ours);
  if (bytes.size() != verdict.wanted.rowScans && bytes.size() != verdict.wanted.columnScans) {
    verdict.kind = ByteVerdict::Kind::wrongCount;
    return verdict;
  }
  auto found = detectLayout(bytes, ours);
  if (!found) {
    verdict.kind = ByteVerdict::Kind::unjudgeable;
    verdict.reason = found.error().text;
    return verdict;
  }
  verdict.kind = found->clear ? ByteVerdict::Kind::found : ByteVerdict::Kind::closeRace;
  verdict.detection = std::move(*found);
  return verdict;
}

Glyphs givenGlyphs(std::u16string_view characters, std::span<const GlyphPicture> ours,
                   std::span<const std::uint8_t> bytes, const ByteLayout& layout) {
  Glyphs glyphs{{bytes.begin(), bytes.end()}, {}, {}};
  CharacterWalk walk(characters);
  std::size_t offset = 0;
  bool cellKnown = false;
  for (const GlyphPicture& picture : ours) {
    const auto character = walk.next();
    if (!character) return {};
    const std::size_t size = glyphSize(picture.dots(), layout.scan);
    glyphs.glyphs.push_back({std::u16string(character->text), character->code, offset, size});
    offset += size;
    // A double-byte glyph is the cell; a single-byte one half of it, rounded up, which twice its width gives back.
    if (isDoubleByte(*character)) {
      glyphs.cell = CellSize{picture.width, picture.height};
      cellKnown = true;
    } else if (!cellKnown) {
      glyphs.cell = CellSize{picture.width * 2, picture.height};
    }
  }
  return offset == bytes.size() ? glyphs : Glyphs{};
}

}  // namespace lumadot
