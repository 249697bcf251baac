#pragma once

#include <string>
#include <vector>

namespace lumadot::cli {

// lumadot-cli extract: returns the exit status.
int runExtractCommand(const std::vector<std::string>& args);

}  // namespace lumadot::cli
