#pragma once

// The programs' own --help, read by the checks that hold the man pages and the completion to it.

#include <filesystem>
#include <string>
#include <vector>

namespace lumadot::test {

// What `program args... --help` prints; the test fails if it does not exit 0.
std::string helpOf(const std::filesystem::path& program, std::vector<std::string> args = {});

// The commands under "Commands:", each on a line of its own indented by two.
std::vector<std::string> helpCommands(const std::string& help);

}  // namespace lumadot::test
