#pragma once

#include <string>
#include <vector>

#include "options/command_line.h"

namespace lumadot::cli {

// lumadot-cli layouts: returns the exit status.
int runLayoutsCommand(const std::vector<std::string>& args, Reach reach = Reach::run);

}  // namespace lumadot::cli
