#pragma once

#include <string>
#include <vector>

#include "common/command_line.h"

namespace lumadot::cli {

// lumadot-cli preview: returns the exit status.
int runPreviewCommand(const std::vector<std::string>& args, tools::Reach reach = tools::Reach::run);

}  // namespace lumadot::cli
