#pragma once

#include <string>
#include <vector>

#include "common/command_line.h"

namespace lumadot::cli {

// lumadot-cli picture: returns the exit status.
int runPictureCommand(const std::vector<std::string>& args, tools::Reach reach = tools::Reach::run);

}  // namespace lumadot::cli
