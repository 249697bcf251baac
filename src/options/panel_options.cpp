#include "options/panel_options.h"

#include "options/command_line.h"
#include "sign/panel_chain.h"

namespace lumadot {

void addPanelColumnsOption(CLI::App& app, int& columns) {
  addWholeNumberOption(app, "--columns", columns, 1, kMaxPanelColumns, std::string(kPanelColumnsHelp),
                       panelColumnsProblem);
}

std::optional<int> panelColumnsGiven(std::string_view given) { return wholeNumber(given, 1, kMaxPanelColumns); }

std::string panelColumnsProblem(const std::string& given) {
  return "--columns takes a whole number from 1 to " + std::to_string(kMaxPanelColumns) + ", not '" + given + "'";
}

}  // namespace lumadot
