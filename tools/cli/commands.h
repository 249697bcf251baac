#pragma once

#include <string>
#include <vector>

#include "options/command_line.h"

namespace lumadot::cli {

// lumadot-cli's arguments after the program's name: picks the command and
// hands it the rest. Returns the exit status.
int runCommandLine(const std::vector<std::string>& args, Reach reach = Reach::run);

}  // namespace lumadot::cli
