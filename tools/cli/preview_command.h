#pragma once

#include <string>
#include <vector>

namespace lumadot::cli {

// lumadot-cli preview: returns the exit status.
int runPreviewCommand(const std::vector<std::string>& args);

}  // namespace lumadot::cli
