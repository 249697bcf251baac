#include "cli/extract_command.h"

#include <iostream>

#include "cli/console.h"
#include "cli/console_runner.h"
#include "common/arguments.h"
#include "extract/glyph_buffer.h"
#include "extract/glyph_entries.h"
#include "extract/text_codec.h"
#include "formats/output_format.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: lumadot-cli extract [--reverse] [--split] [--font-dir DIR]\n"
    "                           [--format FORMAT [--name PREFIX] [--table]]\n"
    "                           [--send [--port comN] [--baud N] [--parity E|M|N|O|S]\n"
    "                            [--data-bits N] [--stop-bits N] [--speed N] [--mode MODE]]\n"
    "                           [--frame-out FILE] [TEXT]\n";

constexpr std::string_view kHelp =
    "\n"
    "Looks every character of TEXT up in the font files asc16 (8x16 dots) and\n"
    "hzk16 (16x16 dots, GB2312) and prints the glyph bytes as an 8051 assembler\n"
    "listing, exactly as the desktop program's result box shows it (UTF-8,\n"
    "CR LF line breaks, ending with the credit block), or with --format as\n"
    "source an 8051 toolchain builds as it stands, or for a programmer.\n"
    "\n"
    "Options:\n"
    "  --reverse       \"字节倒序\": reverse the bit order of every glyph byte\n"
    "  --split         \"8*16格式\": store each Chinese glyph as two 8x16 halves,\n"
    "                  the left half of all 16 rows first\n"
    "  --format FORMAT what to print (default listing):\n"
    "                    listing  the result box's text\n"
    "                    a51      assembler source for Keil A51 (DB 0F8H)\n"
    "                    as31     assembler source for as31 (.db 0F8H)\n"
    "                    sdas     assembler source for SDCC's sdas8051\n"
    "                             (.db 0xF8, in area CSEG)\n"
    "                    c51      C arrays in code memory for Keil C51 (code)\n"
    "                    sdcc     C arrays in code memory for SDCC (__code)\n"
    "                    bin      the glyph bytes, raw\n"
    "                    hex      the glyph bytes as Intel HEX from address 0\n"
    "                  Every format holds the bytes of the listing, after\n"
    "                  --reverse and --split. A format other than the listing\n"
    "                  is printed only when the run completes.\n"
    "  --name PREFIX   label glyph k PREFIX_k in a source format (default ZI)\n"
    "  --table         c51 and sdcc: one array PREFIX holding every glyph\n";

constexpr std::string_view kHelpEnd =
    "  -h, --help      show this help\n"
    "\n";

constexpr std::string_view kInputHelp =
    "\n"
    "Without TEXT the whole of standard input is read as UTF-8, every byte kept:\n"
    "a CR LF line break is skipped, as in the desktop program's input box.\n"
    "Put -- before a TEXT that starts with '-'.\n"
    "\n"
    "Example: lumadot-cli extract --format as31 中A > t.asm && as31 t.asm\n"
    "\n"
    "Messages go to standard error, one line each: title, then text.\n"
    "Exit status: 0 the run completed, 1 the run failed, 2 usage error.\n";

// The output the options ask for, or the reason they don't fit together.
struct Output {
  OutputFormat format = OutputFormat::listing;
  SourceNames names;
};

Result<Output> chosenOutput(const tools::Arguments& parsed) {
  Output output;
  if (const auto name = parsed.value("--format")) {
    const auto format = outputFormatNamed(*name);
    if (!format) return Failure("unknown format '" + *name + "'; choose " + std::string(formatNameList()));
    output.format = *format;
  }
  if (const auto prefix = parsed.value("--name")) {
    if (!hasLabels(output.format)) return Failure("--name goes with --format a51, as31, sdas, c51 or sdcc");
    if (const auto problem = prefixProblem(*prefix)) return Failure("--name " + *prefix + ": " + *problem);
    output.names.prefix = *prefix;
  }
  if (parsed.has("--table")) {
    if (!canMakeTable(output.format)) return Failure("--table goes with --format c51 or sdcc");
    output.names.oneTable = true;
  }
  if (output.format == OutputFormat::bin && isTerminal(stdout)) {
    return Failure(
        "--format bin writes raw bytes; send them to a file: lumadot-cli extract --format bin TEXT > glyphs.bin");
  }
  return output;
}

}  // namespace

int runExtractCommand(const std::vector<std::string>& args) {
  tools::Arguments parsed;
  const auto known =
      withRunOptions({{"--reverse"}, {"--split"}, {"--format", true}, {"--name", true}, {"--table"}, {"--help"}});
  if (const auto error = parsed.parse(args, known)) return usageError(*error, kUsage, "extract");
  if (parsed.has("--help")) {
    std::cout << kUsage << kHelp << fontDirHelp() << kHelpEnd << sendOptionsHelp(true) << kInputHelp << std::flush;
    return kExitCompleted;
  }
  if (parsed.positionals().size() > 1) {
    return usageError("extract takes one TEXT; put quotes around text with spaces", kUsage, "extract");
  }
  const auto output = chosenOutput(parsed);
  if (!output) return usageError(output.error().text, kUsage, "extract");
  const auto& [format, names] = *output;

  const std::u16string text = utf8ToUtf16(runText(parsed));
  const RunOptions options{parsed.has("--reverse"), parsed.has("--split"), sends(parsed)};
  ConsoleRunner runner(parsed, localeDecimalSeparator());
  const bool listing = format == OutputFormat::listing;
  const auto outcome = runner.run(text, options, sendBoxes(parsed), listing);
  if (!outcome.listingWritten) return kExitFailed;
  if (!outcome.completed) return kExitFailed;
  if (!listing && !writeStdout(formatGlyphs(format, glyphEntries(runner.buffer(), text), names))) {
    return kExitFailed;
  }
  return kExitCompleted;
}

}  // namespace lumadot::cli
