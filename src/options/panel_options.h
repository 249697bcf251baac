#pragma once

// --columns, the width of the sign's panel, as lumadot-cli sign and the sign
// window both take it: one range, one help, one refusal.

#include <optional>
#include <string>
#include <string_view>

namespace CLI {
class App;
}  // namespace CLI

namespace lumadot {

// What --columns sets, broken where the CLI's help wraps.
inline constexpr std::string_view kPanelColumnsHelp =
    "the chain's width in dots, 32 a P10 module (default\n128); it is 16 high";

// --columns, from 1 to kMaxPanelColumns, into `columns`.
void addPanelColumnsOption(CLI::App& app, int& columns);
// --columns' value read as the option reads it; nothing when it is refused.
std::optional<int> panelColumnsGiven(std::string_view given);
// Why --columns refuses `given`.
std::string panelColumnsProblem(const std::string& given);

}  // namespace lumadot
