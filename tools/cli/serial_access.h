#pragma once

#include <string>
#include <vector>

namespace lumadot::cli {

// The user's decimal separator, as the success message writes the amount with it.
std::u16string localeDecimalSeparator();

int runPortsCommand(const std::vector<std::string>& args);

}  // namespace lumadot::cli
