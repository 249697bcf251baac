// Linked into every test program. A case sets each LUMADOT_* variable it needs
// itself; one left in the caller's shell (LUMADOT_COM1 pointing at the sign on
// the desk, as the README suggests) must neither change what a case sees nor
// reach the programs it starts.
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#ifdef _WIN32
#define LUMADOT_ENVIRONMENT _environ
#else
#define LUMADOT_ENVIRONMENT environ
#endif

namespace {

std::vector<std::string> lumadotVariables() {
  std::vector<std::string> names;
  for (char** entry = LUMADOT_ENVIRONMENT; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view variable{*entry};
    if (variable.starts_with("LUMADOT_")) names.emplace_back(variable.substr(0, variable.find('=')));
  }
  return names;
}

// Before any static object of the test program is made, so none of them sees one either.
__attribute__((constructor(101))) void clearLumadotVariables() {
  for (const std::string& name : lumadotVariables()) {
#ifdef _WIN32
    _putenv_s(name.c_str(), "");
#else
    unsetenv(name.c_str());
#endif
  }
}

}  // namespace
