#include "extract_command.h"

#include <iostream>

#include "arguments.h"
#include "console.h"
#include "run_setup.h"
#include "serial_access.h"
#include "text_codec.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: lumadot-cli extract [--reverse] [--split] [--font-dir DIR]\n"
    "                           [--send [--port comN] [--baud N] [--parity E|M|N|O|S]\n"
    "                            [--data-bits N] [--stop-bits N] [--speed N] [--mode MODE]]\n"
    "                           [--frame-out FILE] [TEXT]\n";

constexpr std::string_view kHelp =
    "\n"
    "Looks every character of TEXT up in the font files asc16 (8x16 dots) and\n"
    "hzk16 (16x16 dots, GB2312) and prints the glyph bytes as an 8051 assembler\n"
    "listing, exactly as the desktop program's result box shows it (UTF-8,\n"
    "CR LF line breaks, ending with the credit block).\n"
    "\n"
    "Options:\n"
    "  --reverse       \"字节倒序\": reverse the bit order of every glyph byte\n"
    "  --split         \"8*16格式\": store each Chinese glyph as two 8x16 halves,\n"
    "                  the left half of all 16 rows first\n";

constexpr std::string_view kHelpEnd =
    "  -h, --help      show this help\n"
    "\n";

constexpr std::string_view kInputHelp =
    "\n"
    "Without TEXT the whole of standard input is read as UTF-8, every byte kept:\n"
    "a CR LF line break is skipped, as in the desktop program's input box.\n"
    "Put -- before a TEXT that starts with '-'.\n"
    "\n"
    "Messages go to standard error, one line each: title, then text.\n"
    "Exit status: 0 the run completed, 1 the run failed, 2 usage error.\n";

int usageError(const std::string& what) {
  printError(what);
  std::cerr << kUsage << "Try 'lumadot-cli extract --help'.\n";
  return kExitUsage;
}

}  // namespace

int runExtractCommand(const std::vector<std::string>& args) {
  tools::Arguments parsed;
  if (const auto error = parsed.parse(args, withRunOptions({{"--reverse"}, {"--split"}, {"--help"}}))) {
    return usageError(*error);
  }
  if (parsed.has("--help")) {
    std::cout << kUsage << kHelp << fontDirHelp() << kHelpEnd << sendOptionsHelp(true) << kInputHelp << std::flush;
    return kExitCompleted;
  }
  if (parsed.positionals().size() > 1) {
    return usageError("extract takes one TEXT; put quotes around text with spaces");
  }

  std::string input;
  if (parsed.positionals().empty()) {
    if (stdinIsTerminal()) std::cerr << "Reading the text from standard input; end it with Ctrl+D.\n";
    input = readAllStdin();
  } else {
    input = parsed.positionals().front();
  }

  const RunOptions options{parsed.has("--reverse"), parsed.has("--split"), sends(parsed)};
  ConsoleRunner runner(parsed, localeDecimalSeparator());
  const auto outcome = runner.run(utf8ToUtf16(input), options, sendBoxes(parsed), true);
  if (!outcome.listingWritten) return kExitFailed;
  return outcome.completed ? kExitCompleted : kExitFailed;
}

}  // namespace lumadot::cli
