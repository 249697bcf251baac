#pragma once

#include <string>
#include <vector>

#include "options/command_line.h"

namespace lumadot::cli {

// lumadot-cli sign: returns the exit status.
int runSignCommand(const std::vector<std::string>& args, Reach reach = Reach::run);

}  // namespace lumadot::cli
