#include "cli/extract_command.h"

#include <CLI/CLI.hpp>

#include "cli/console.h"
#include "cli/console_runner.h"
#include "options/font_options.h"
#include "cli/text_input.h"
#include "options/format_options.h"
#include "options/layout_options.h"
#include "options/command_line.h"
#include "extract/glyph_entries.h"
#include "extract/text_codec.h"
#include "formats/output_format.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Looks every character of TEXT up in the font files asc16 (8x16 dots) and\n"
    "hzk16 (16x16 dots, GB2312) and prints the glyph bytes as an 8051 assembler\n"
    "listing, exactly as the desktop program's result box shows it (UTF-8\n"
    "unless --output-encoding says otherwise, CR LF line breaks, ending with\n"
    "the credit block), or with --format as source an 8051 toolchain builds\n"
    "as it stands, or for a programmer.";

constexpr std::string_view kFooter =
    "Without TEXT the whole of standard input (or --text-file) is read as text\n"
    "typed into the desktop program's input box: a line feed is a line break\n"
    "(CR LF), and a byte order mark at the start is dropped; a line break gets\n"
    "no glyph, so 'echo 中A | lumadot-cli extract' prints what\n"
    "'lumadot-cli extract 中A' does. It is UTF-8 unless --encoding says otherwise\n"
    "or a UTF-16 byte order mark starts it; bytes not valid in it stop the run:\n"
    "  iconv -t GB2312 notes.txt | lumadot-cli extract --encoding gb2312\n"
    "TEXT itself is taken as it stands. Put -- before a TEXT that starts with '-'.\n"
    "\n"
    "Example: lumadot-cli extract --format as31 中A > t.asm && as31 t.asm\n"
    "\n"
    "Messages go to standard error, one line each: title, then text.\n"
    "Exit status: 0 the run completed, 1 the run failed, 2 usage error.";

struct ExtractOptions {
  LayoutOptions layout;
  FormatOptions output;
  RunSettings run;
  TextInput input;
};

void declareOptions(CLI::App& app, ExtractOptions& options) {
  addLayoutOptions(app, options.layout);
  addFontDirOption(app, options.run);
  addFormatOptions(app, options.output);
  addSourceOptions(app, options.output);
  addSendOptions(app, options.run);
  addTextOptions(app, options.input, "the text to extract; without it, standard input");
}

int runExtract(CommandLine& line, const ExtractOptions& options, Reach reach) {
  if (options.input.texts.size() > 1) return line.usageError("extract takes one TEXT; put quotes around text with spaces");
  const auto output = chosenOutput(options.output, "extract");
  if (!output) return line.usageError(output.error().text);
  const auto layout = chosenLayout(options.layout);
  if (!layout) return line.usageError(layout.error().text);
  if (auto used = requireSendForBoxOptions(line.app(), options.run); !used) return line.usageError(used.error().text);
  if (auto apart = checkNotStandardOutput("--frame-out", options.run.frameOut); !apart) {
    return line.usageError(apart.error().text);
  }
  if (const std::string refusal = signRefusal(options.run.font); options.run.sends() && !refusal.empty()) {
    return line.usageError(refusal);
  }
  if (reach == Reach::checkOptions) return kExitCompleted;
  const auto& [format, names, source, note] = *output;
  if (!note.empty()) printError(note);

  const auto typed = runText(options.input);
  if (!typed) {
    printError(typed.error().text);
    return kExitFailed;
  }
  const std::u16string text = utf8ToUtf16(*typed);
  ConsoleRunner runner(options.run, localeDecimalSeparator());
  runner.setListingEncoding(source.encoding);
  const bool listing = format == OutputFormat::listing;
  const SendRequest* request = options.run.sends() ? &options.run.request : nullptr;
  // The listing ends without a line break; on a terminal the prompt would land on its last line.
  const auto outcome = runner.run(text, *layout, request, listing, isTerminal(stdout) ? "\r\n" : "");
  if (!outcome.listingWritten || !outcome.completed) return kExitFailed;
  // Any other format is printed only once the run has completed.
  const bool printed = listing || writeStdout(formatGlyphs(format, glyphEntries(outcome.glyphs), names, source));
  return printed ? kExitCompleted : kExitFailed;
}

}  // namespace

int runExtractCommand(const std::vector<std::string>& args, Reach reach) {
  return parseAndRun<ExtractOptions>(args, "lumadot-cli extract", kDescription, kFooter,
                                              [reach](CommandLine& line, const ExtractOptions& options) {
                                                return runExtract(line, options, reach);
                                              });
}

}  // namespace lumadot::cli
