#pragma once

#include <filesystem>

namespace lumadot {

// The directory holding the running executable, where the font files lie.
// Falls back to the current directory if the system cannot say.
std::filesystem::path programDirectory();

}  // namespace lumadot
