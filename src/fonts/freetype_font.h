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

// One face of a font file read through FreeType at 16 pixels: TrueType,
// OpenType, collections, PCF (gzip-compressed too) and BDF. The face's own
// 16-pixel bitmaps are used where it has them, the designer's dots; a scalable
// face without them is rendered monochrome and hinted.
class FreeTypeFont {
 public:
  // Fails with "PATH: what is wrong": an unreadable file, one that is no font,
  // no face `face`, no 16-pixel size, no character map we can use.
  static Result<FreeTypeFont> open(const std::filesystem::path& path, int face);
  // The same over a file's bytes, which must outlive the font unless they are
  // gzip data (unpacked into the font); `name` stands for the file in messages.
  static Result<FreeTypeFont> fromBytes(std::span<const std::uint8_t> bytes, int face, const std::string& name);

  FreeTypeFont(FreeTypeFont&&) noexcept;
  FreeTypeFont& operator=(FreeTypeFont&&) noexcept;
  ~FreeTypeFont();

  // Nothing when the face has no glyph for `character` or cannot draw it.
  std::optional<SourceGlyph> glyph(char32_t character) const;
  // The baseline row the face's ascent gives, for when glyphs do not decide.
  int ascent() const;
  // The face and how its glyphs are drawn, e.g. "Unifont Regular, outlines
  // rendered at 16 pixels".
  std::string description() const;

 private:
  struct State;
  static Result<FreeTypeFont> load(std::unique_ptr<State> state, int face, const std::string& name);
  explicit FreeTypeFont(std::unique_ptr<State> state);
  std::unique_ptr<State> m_state;
};

}  // namespace lumadot
