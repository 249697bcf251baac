#include "cli/ports_command.h"

#include <iomanip>
#include <iostream>
#include <sstream>

#include "cli/console.h"
#include "common/command_line.h"
#include "serial/port_mapping.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Shows which device each of com1 to com16 stands for on this machine:\n"
    "the device named by the environment variable LUMADOT_COMn when it is set\n"
    "(LUMADOT_COM1=/dev/ttyUSB0, say), otherwise COMn on Windows, otherwise the\n"
    "n-th serial port the system lists, in the order of their device paths.";

std::string sourceText(const PortMapping& mapping) {
  switch (mapping.source) {
    case PortMapping::Source::environment: return "from LUMADOT_COM" + std::to_string(mapping.number);
    case PortMapping::Source::windowsName: return "Windows name";
    case PortMapping::Source::systemList: return "serial port " + std::to_string(mapping.number) + " the system lists";
    case PortMapping::Source::none: return "the system lists fewer serial ports";
  }
  return {};
}

}  // namespace

int runPortsCommand(const std::vector<std::string>& args, tools::Reach reach) {
  tools::CommandLine line("lumadot-cli ports", std::string(kDescription), {});
  if (const auto exit = line.parseWithoutArguments(args)) return *exit;
  if (reach == tools::Reach::checkOptions) return kExitCompleted;
  std::ostringstream table;
  for (const PortMapping& mapping : mapAllPorts()) {
    table << std::left << std::setw(7) << ("com" + std::to_string(mapping.number)) << std::setw(22)
          << (mapping.device.empty() ? "-" : mapping.device) << std::setw(10)
          << (mapping.present ? "present" : "absent") << sourceText(mapping) << '\n';
  }
  std::cout << table.str() << std::flush;
  return kExitCompleted;
}

}  // namespace lumadot::cli
