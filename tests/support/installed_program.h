#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/process.h"

namespace lumadot::test {

// A program on PATH. One that is missing fails the test, not skips it: the
// toolchain and the simulator are what the test is about.
inline std::filesystem::path installedProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin";
  for (std::size_t pos = 0; pos <= dirs.size();) {
    const std::size_t end = std::min(dirs.find(':', pos), dirs.size());
    const auto candidate = std::filesystem::path(dirs.substr(pos, end - pos)) / name;
    if (std::filesystem::exists(candidate)) return candidate;
    pos = end + 1;
  }
  ADD_FAILURE() << name << " is not installed; 'make test' installs it";
  return name;
}

// Runs a toolchain step, which must neither fail nor complain; its output is shown when it does.
inline void build(const std::string& tool, const std::vector<std::string>& args) {
  const auto r = runProcess(installedProgram(tool), args);
  EXPECT_EQ(r.exitCode, 0) << tool << ":\n" << r.out << r.err;
  EXPECT_EQ((r.out + r.err).find("rror"), std::string::npos) << r.out << r.err;
  EXPECT_EQ((r.out + r.err).find("arning"), std::string::npos) << r.out << r.err;
}

}  // namespace lumadot::test
