#pragma once

#include <string>
#include <vector>

#include "options/command_line.h"

namespace lumadot::mkfont {

// lumadot-mkfont's arguments after the program's name; returns the exit status.
int runMkfontCommand(const std::vector<std::string>& args, Reach reach = Reach::run);

// "lumadot-mkfont: message" on standard error; returns kExitFailed.
int failure(const std::string& message);

}  // namespace lumadot::mkfont
