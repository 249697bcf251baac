#pragma once

#include <string>
#include <vector>

namespace lumadot::cli {

int runPortsCommand(const std::vector<std::string>& args);

}  // namespace lumadot::cli
