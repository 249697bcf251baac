#pragma once

#include <filesystem>
#include <vector>

#include "extract/font_file.h"

namespace lumadot {

// The directory holding the running executable. Falls back to the current
// directory if the system cannot say.
std::filesystem::path programDirectory();

// Where a program looks for its font files (asc16 and hzk16, or another size's) when no folder is named: its own
// folder, as it always has (a build tree, or a copy carried about with its
// fonts), then ../share/lumadot beside that folder, where an install puts them.
std::vector<std::filesystem::path> fontFolders(const std::filesystem::path& programDir);

// The fonts in `chosenDir` (--font-dir) when it is not empty; else those in
// the first of fontFolders() that holds both. When none does, those in the
// program's own folder, with every folder looked in, so a missing font's
// message can name them.
FontPaths locateFonts(const std::filesystem::path& chosenDir,
                      const std::filesystem::path& programDir = programDirectory(), CellSize cell = {},
                      Charset charset = Charset::gb2312);

// A size and charset whose two font files are both in a folder.
struct BuiltFont {
  CellSize cell;
  Charset charset = Charset::gb2312;

  friend bool operator==(const BuiltFont&, const BuiltFont&) = default;
};

// Every size and charset whose single-byte and double-byte files are both in
// `dir`, each of its full size (a file cut short is being written, or broken):
// 16 first, then by height and width, GB2312 before GBK.
std::vector<BuiltFont> builtFonts(const std::filesystem::path& dir);

}  // namespace lumadot
