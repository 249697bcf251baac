#pragma once

#include <string>
#include <vector>

#include "options/command_line.h"

namespace lumadot::cli {

// lumadot-cli detect: returns the exit status.
int runDetectCommand(const std::vector<std::string>& args, Reach reach = Reach::run);

}  // namespace lumadot::cli
