#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/version.h"
#include "cli/clock_command.h"
#include "cli/console.h"
#include "cli/detect_command.h"
#include "cli/extract_command.h"
#include "cli/font_command.h"
#include "cli/layouts_command.h"
#include "cli/picture_command.h"
#include "cli/ports_command.h"
#include "cli/preview_command.h"
#include "cli/sign_command.h"

namespace lumadot::cli {
namespace {

// Each command parses its own options: TEXT is free text, and a TEXT spelled
// like another command must stay text.
struct Command {
  std::string_view name;
  std::string_view summary;  // a second line starts under the first
  int (*run)(const std::vector<std::string>& args, Reach reach);
};

constexpr Command kCommands[] = {
    {"extract",
     "print the glyph bytes of a text as an 8051 assembler listing,\n"
     "as source for an 8051 toolchain, raw or as Intel HEX, and send\n"
     "them to the sign with --send",
     runExtractCommand},
    {"font",
     "print the glyphs of a set of characters, each once, with a\n"
     "table a firmware looks codes up in, as C or assembler source",
     runFontCommand},
    {"preview", "draw the glyph bytes of a text in the terminal or as a PNG", runPreviewCommand},
    {"picture", "make a picture (PNG, BMP, GIF, JPEG) glyph bytes, with every\noutput of extract", runPictureCommand},
    {"detect",
     "work out which byte layout a firmware's glyph bytes are in,\n"
     "from the bytes of one or more characters; four or more make\n"
     "the detection surer",
     runDetectCommand},
    {"layouts", "show which byte each dot of a glyph goes into, for each scan", runLayoutsCommand},
    {"clock", "show today's date and the time on the sign, renewed every\n7.8 seconds", runClockCommand},
    {"ports", "show the device each of com1 to com16 stands for", runPortsCommand},
    {"sign",
     "listen on a serial port as the sign does, and show and play\n"
     "the frames that come",
     runSignCommand},
};

std::string description() {
  std::string text =
      "Glyph bytes for 8051 LED dot-matrix signs, from Chinese (GB2312) and\n"
      "single-byte text.\n"
      "\n"
      "Commands:";
  for (const Command& command : kCommands) {
    std::string summary(command.summary);
    for (std::size_t at = 0; (at = summary.find('\n', at)) != std::string::npos; at += 14) summary.insert(at + 1, 13, ' ');
    text += "\n  " + std::string(command.name) + std::string(11 - command.name.size(), ' ') + summary;
  }
  return text;
}

}  // namespace

int runCommandLine(const std::vector<std::string>& args, Reach reach) {
  CommandLine line("lumadot-cli", description(),
                          "Run 'lumadot-cli COMMAND --help' for the options of a command.");
  CLI::App& app = line.app();
  app.set_version_flag("--version", std::string("lumadot-cli ") + std::string(kVersion), "show the version");
  std::vector<std::string> names{"help"};  // "lumadot-cli help" shows this help, as --help does
  for (const Command& command : kCommands) names.emplace_back(command.name);
  std::string chosen;
  std::vector<std::string> rest;
  app.positionals_at_end();  // everything after COMMAND is the command's own
  app.add_option("COMMAND", chosen, "the command to run")->required()->check(inOurWords(
      CLI::IsMember(names), [](const std::string& name) { return "unknown command '" + name + "'"; }));
  app.add_option("OPTIONS", rest, "the command's options and text");

  if (args.empty()) {
    std::cerr << app.help();
    return kExitUsage;
  }
  if (const auto exit = line.parse(args)) return *exit;
  const auto command = std::find_if(std::begin(kCommands), std::end(kCommands),
                                    [&chosen](const Command& c) { return c.name == chosen; });
  if (command == std::end(kCommands)) {
    std::cout << app.help();
    return kExitCompleted;
  }
  return command->run(rest, reach);
}

}  // namespace lumadot::cli
