#include "extract_command.h"

#include <iostream>
#include <memory>

#include "arguments.h"
#include "console.h"
#include "extraction_run.h"
#include "program_directory.h"
#include "text_codec.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kUsage = "Usage: lumadot-cli extract [--reverse] [--split] [--font-dir DIR] [TEXT]\n";

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
    "                  the left half of all 16 rows first\n"
    "  --font-dir DIR  directory holding asc16 and hzk16\n"
    "                  (default: the directory of this program)\n"
    "  -h, --help      show this help\n"
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
  if (const auto error = parsed.parse(args, {{"--reverse"}, {"--split"}, {"--font-dir", true}, {"--help"}})) {
    return usageError(*error);
  }
  if (parsed.has("--help")) {
    std::cout << kUsage << kHelp << std::flush;
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

  const RunOptions options{parsed.has("--reverse"), parsed.has("--split"), false};
  const auto fontDir = parsed.value("--font-dir");
  const FontPaths fonts = FontPaths::inDirectory(fontDir ? std::filesystem::path(*fontDir) : programDirectory());

  auto buffer = std::make_unique<GlyphBuffer>();
  NoTransmission noPort;
  ConsoleHooks hooks;
  const RunResult result = runExtraction(utf8ToUtf16(input), options, fonts, *buffer, noPort, hooks);
  if (!writeStdout(utf16ToUtf8(hooks.listing()))) return kExitFailed;
  return result.completed ? kExitCompleted : kExitFailed;
}

}  // namespace lumadot::cli
