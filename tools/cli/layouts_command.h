#pragma once

#include <string>
#include <vector>

#include "common/command_line.h"

namespace lumadot::cli {

// lumadot-cli layouts: returns the exit status.
int runLayoutsCommand(const std::vector<std::string>& args, tools::Reach reach = tools::Reach::run);

}  // namespace lumadot::cli
