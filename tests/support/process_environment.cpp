#include "support/process_environment.h"

#include <algorithm>
#include <string_view>

namespace lumadot::test {
namespace {

std::string_view nameOf(std::string_view entry) { return entry.substr(0, entry.find('=', 1)); }

bool sameName(std::string_view a, std::string_view b) {
#ifdef _WIN32
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
#else
  return a == b;
#endif
}

}  // namespace

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& inherited,
                                           const std::vector<std::string>& extraEnv) {
  std::vector<std::string> merged;
  for (const std::string& entry : inherited) {
    const bool replaced = std::any_of(extraEnv.begin(), extraEnv.end(), [&](const std::string& extra) {
      return sameName(nameOf(extra), nameOf(entry));
    });
    if (!replaced) merged.push_back(entry);
  }
  merged.insert(merged.end(), extraEnv.begin(), extraEnv.end());
  return merged;
}

}  // namespace lumadot::test
