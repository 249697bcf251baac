#pragma once

// How wide the sign's panel is, and where its P10 modules meet when it is a
// chain of them (docs/firmware.md): the window and the CLI both mark the seams
// from here.

#include <vector>

namespace lumadot {

inline constexpr int kDefaultPanelColumns = 128;
inline constexpr int kMaxPanelColumns = 4096;
inline constexpr int kModuleColumns = 32;  // a P10 module is 32 x 16 dots

// The modules a panel `columns` wide chains; 0 for a width that is no whole number of them, a plain panel.
int modulesAcross(int columns);
// The columns where a module starts after another, left to right; none for one module or a plain panel.
std::vector<int> moduleSeams(int columns);

}  // namespace lumadot
