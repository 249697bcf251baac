#pragma once

#include <string>
#include <vector>

namespace lumadot::cli {

// lumadot-cli clock: returns the exit status.
int runClockCommand(const std::vector<std::string>& args);

}  // namespace lumadot::cli
