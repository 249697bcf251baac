#pragma once

// lumadot-workbench's command line: extract's text, layout, format and font
// options, and the sign's as extract --send takes them, read before any
// window exists (so --help and --version need no display), into the settings
// the window opens with.

#include <string>
#include <variant>
#include <vector>

#include "serial/send_request.h"
#include "workbench/workbench_run.h"

namespace lumadot {

// What the command line asks for, extract's defaults where it asks nothing.
// A command line given sets every control from here, so the window shows
// what lumadot-cli extract prints for it; the saved controls are for a start
// without one.
struct WorkbenchStart {
  WorkbenchSettings settings;
  SendBoxes sign;           // the sign box, as extract --send would read its options
  std::string pictureFile;  // --picture: open it on the picture tab
  bool commandLine = false;  // any option or text given
};

// The start, or the exit status the program ends with at once (after
// --help, --version, a usage error or a text file that cannot be read).
std::variant<WorkbenchStart, int> readWorkbenchCommandLine(const std::vector<std::string>& args);

}  // namespace lumadot
