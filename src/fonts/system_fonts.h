#pragma once

// The fonts installed on the system, for a window to offer beside the font
// files it is given by name: as fontconfig knows them, or on Windows those in
// its fonts folder and the user's own.

#include <string>
#include <vector>

namespace lumadot {

struct SystemFont {
  std::string family;  // in English where the font names itself in several languages
  std::string style;
  std::string file;
  int face = 0;  // in a collection (.ttc)
  bool scalable = true;
  std::vector<int> pixelSizes;  // a bitmap font's strikes, ascending

  friend bool operator==(const SystemFont&, const SystemFont&) = default;
};

// Every face of the kinds src/fonts reads (TrueType, OpenType, collections,
// PCF, BDF), each file and face once, sorted by family, then style, then
// file. Reading fontconfig's caches may take a second on a system with many
// fonts, so a window calls this off its GUI thread. Nothing when fontconfig
// cannot be set up.
std::vector<SystemFont> systemFonts();

}  // namespace lumadot
