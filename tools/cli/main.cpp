#include <QCoreApplication>
#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/version.h"
#include "cli/clock_command.h"
#include "cli/console.h"
#include "cli/extract_command.h"
#include "cli/preview_command.h"
#include "cli/ports_command.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: lumadot-cli COMMAND [OPTIONS]\n"
    "\n"
    "Glyph bytes for 8051 LED dot-matrix signs, from Chinese (GB2312) and\n"
    "single-byte text.\n"
    "\n"
    "Commands:\n"
    "  extract    print the glyph bytes of a text as an 8051 assembler listing,\n"
    "             as source for an 8051 toolchain, raw or as Intel HEX, and send\n"
    "             them to the sign with --send\n"
    "  preview    draw the glyph bytes of a text in the terminal or as a PNG\n"
    "  clock      show today's date and the time on the sign, renewed every\n"
    "             7.8 seconds\n"
    "  ports      show the device each of com1 to com16 stands for\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help\n"
    "  --version      show the version\n"
    "\n"
    "Run 'lumadot-cli COMMAND --help' for the options of a command.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace lumadot::cli;
  const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
  // Qt Serial Port's notifiers need an application object. It sees only the
  // program's name, so no argument is taken for Qt's own.
  int qtArgc = std::min(argc, 1);
  const QCoreApplication qt(qtArgc, argv);
  if (args.empty()) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  const std::string& command = args.front();
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "extract") return runExtractCommand(rest);
  if (command == "preview") return runPreviewCommand(rest);
  if (command == "clock") return runClockCommand(rest);
  if (command == "ports") return runPortsCommand(rest);
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return kExitCompleted;
  }
  if (command == "--version") {
    std::cout << "lumadot-cli " << lumadot::kVersion << '\n';
    return kExitCompleted;
  }
  printError("unknown command '" + command + "'");
  std::cerr << kUsage;
  return kExitUsage;
}
