#pragma once

// Where a run's glyphs come from, chosen once: the font files of a size and
// grid (in a folder named, or found as locateFonts finds them), or a font
// file drawn at the run's size as its characters are asked for. The
// command line and the workbench both read their choice into these.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "extract/font_file.h"
#include "extract/font_layout.h"
#include "extract/undrawn_characters.h"

namespace lumadot {

class GlyphSource;
class RenderedGlyphs;

struct FontChoice {
  CellSize cell{};
  Charset charset = Charset::gb2312;
  std::string file;       // a font file to draw from; empty: the font files
  int face = 0;           // the face of a collection `file` holds
  std::string asciiFile;  // the single-byte glyphs from this file; empty: from `file` too

  bool rendered() const { return !file.empty(); }

  friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

class RunFonts {
 public:
  // `fontDir` empty: the font files are looked for beside `programDir` as locateFonts does.
  RunFonts(const std::filesystem::path& fontDir, const FontChoice& choice,
           const std::filesystem::path& programDir);
  RunFonts(RunFonts&&) noexcept;
  ~RunFonts();

  const FontPaths& paths() const { return m_paths; }
  RenderedGlyphs* rendered() const { return m_rendered.get(); }
  const std::optional<Failure>& failure() const { return m_failure; }  // the font file could not be opened
  const std::string& fontFile() const { return m_fontFile; }
  // What a lookup reads: the drawn font, or the font files (opened on first use).
  GlyphSource& source();

  // The characters of `text` these fonts cannot draw as typed. A font drawn
  // from has no grid and no file length, so only code page 936 can fail it.
  std::vector<UndrawnCharacter> undrawn(std::u16string_view text) const;

 private:
  FontPaths m_paths;
  std::unique_ptr<RenderedGlyphs> m_rendered;
  std::unique_ptr<GlyphSource> m_files;
  std::optional<Failure> m_failure;
  std::string m_fontFile;
};

}  // namespace lumadot
