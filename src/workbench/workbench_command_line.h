#pragma once

// lumadot-workbench's command line: extract's text, layout, format and font
// options, read before any window exists (so --help and --version need no
// display), into the settings the window opens with.

#include <string>
#include <variant>
#include <vector>

#include "workbench/workbench_run.h"

namespace lumadot {

// What the command line asks for; only what was given replaces the saved controls.
struct WorkbenchStart {
  WorkbenchSettings settings;
  std::string pictureFile;  // --picture: open it on the picture tab
  bool text = false;
  bool layout = false;
  bool format = false;
  bool font = false;
};

// The start, or the exit status the program ends with at once (after
// --help, --version, a usage error or a text file that cannot be read).
std::variant<WorkbenchStart, int> readWorkbenchCommandLine(const std::vector<std::string>& args);

}  // namespace lumadot
