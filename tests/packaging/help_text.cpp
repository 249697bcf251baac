#include "help_text.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/process.h"

namespace lumadot::test {

std::string helpOf(const std::filesystem::path& program, std::vector<std::string> args) {
  args.emplace_back("--help");
  const auto r = runProcess(program, args);
  EXPECT_EQ(r.exitCode, 0) << program << r.err;
  return r.out;
}

std::vector<std::string> helpCommands(const std::string& help) {
  std::vector<std::string> commands;
  std::istringstream in(help);
  std::string line;
  while (std::getline(in, line) && line != "Commands:") {
  }
  while (std::getline(in, line) && !line.empty()) {
    if (line.starts_with("  ") && line[2] != ' ') commands.push_back(line.substr(2, line.find(' ', 2) - 2));
  }
  return commands;
}

}  // namespace lumadot::test
