#pragma once

#include <string>
#include <vector>

#include "options/command_line.h"

namespace lumadot::cli {

// lumadot-cli font: returns the exit status.
int runFontCommand(const std::vector<std::string>& args, Reach reach = Reach::run);

}  // namespace lumadot::cli
