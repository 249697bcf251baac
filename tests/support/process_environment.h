#pragma once

// What starting a program means the same on every system.

#include <string>
#include <vector>

namespace lumadot::test {

// The child's environment, "NAME=value" entries: the inherited ones, each
// replaced by an extra entry of the same name, then the extra entries.
// Windows' names ignore case, and its drive entries ("=C:=C:\dir") start with '='.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& inherited,
                                           const std::vector<std::string>& extraEnv);

}  // namespace lumadot::test
