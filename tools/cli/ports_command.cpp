#include "cli/ports_command.h"

#include <iomanip>
#include <iostream>
#include <sstream>

#include "cli/console.h"
#include "options/command_line.h"
#include "serial/port_mapping.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Shows which device each of com1 to com16 stands for on this machine:\n"
    "the device named by the environment variable LUMADOT_COMn when it is set\n"
    "(LUMADOT_COM1=/dev/ttyUSB0, say), otherwise COMn on Windows, otherwise the\n"
    "n-th serial port the system lists, in the order of their device paths.\n"
    "Then the serial devices the system lists that no comN leads to: name\n"
    "those by their path (--device PATH, or typed into the port box).";

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

int runPortsCommand(const std::vector<std::string>& args, Reach reach) {
  CommandLine line("lumadot-cli ports", std::string(kDescription), {});
  if (const auto exit = line.parse(args)) return *exit;
  if (reach == Reach::checkOptions) return kExitCompleted;
  std::ostringstream table;
  const PortOverview overview = portOverview();
  const auto row = [&table](const std::string& name, const std::string& device, bool present, const std::string& source) {
    table << std::left << std::setw(7) << name << std::setw(22) << (device.empty() ? "-" : device) << std::setw(10)
          << (present ? "present" : "absent") << source << '\n';
  };
  for (const PortMapping& mapping : overview.named) {
    row("com" + std::to_string(mapping.number), mapping.device, mapping.present, sourceText(mapping));
  }
  for (const std::string& device : overview.others) row("-", device, true, "listed beyond com16; name it by its path");
  std::cout << table.str() << std::flush;
  return kExitCompleted;
}

}  // namespace lumadot::cli
