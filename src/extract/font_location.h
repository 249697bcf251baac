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

}  // namespace lumadot
