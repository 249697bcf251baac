#pragma once

#include <string>
#include <vector>

#include "options/command_line.h"

namespace lumadot::cli {

// lumadot-cli picture: returns the exit status.
int runPictureCommand(const std::vector<std::string>& args, Reach reach = Reach::run);

}  // namespace lumadot::cli
