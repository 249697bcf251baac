#pragma once

#include <string>
#include <vector>

#include "options/command_line.h"

namespace lumadot::cli {

int runPortsCommand(const std::vector<std::string>& args, Reach reach = Reach::run);

}  // namespace lumadot::cli
