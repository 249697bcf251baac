#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "base/result.h"
#include "fonts/glyph_placement.h"

namespace lumadot {

// One face of a font file read through FreeType at a pixel size: TrueType,
// OpenType, collections, PCF (gzip-compressed too) and BDF. The face's own
// bitmaps of that size are used where it has them, the designer's dots; a
// scalable face without them is rendered one bit a dot, hinted by the font's
// own hints, never FreeType's autohinter.
class FreeTypeFont {
 public:
  // Fails with "PATH: what is wrong": an unreadable file, one that is no font,
  // no face `face`, bitmaps only and none of `pixels`, no character map we can use.
  static Result<FreeTypeFont> open(const std::filesystem::path& path, int face, int pixels = 16);
  // The same over a file's bytes, which must outlive the font unless they are
  // gzip data (unpacked into the font); `name` stands for the file in messages.
  static Result<FreeTypeFont> fromBytes(std::span<const std::uint8_t> bytes, int face, const std::string& name,
                                        int pixels = 16);

  FreeTypeFont(FreeTypeFont&&) noexcept;
  FreeTypeFont& operator=(FreeTypeFont&&) noexcept;
  ~FreeTypeFont();

  // Nothing when the face has no glyph for `character` or cannot draw it.
  std::optional<SourceGlyph> glyph(char32_t character) const;
  // The font as the placement reads it, drawing smaller glyphs from its
  // outlines; it holds on to the font, which must outlive it.
  GlyphFace face() const;
  // The baseline row the face's ascent gives, for when glyphs do not decide.
  int ascent() const;
  // The face and how its glyphs are drawn, e.g. "Unifont Regular, outlines
  // rendered at 16 pixels", "AR PL UMing CN Light, its 12-pixel bitmaps".
  std::string description() const;

 private:
  struct State;
  static Result<FreeTypeFont> load(std::unique_ptr<State> state, int face, const std::string& name);
  explicit FreeTypeFont(std::unique_ptr<State> state);
  std::unique_ptr<State> m_state;
};

}  // namespace lumadot
