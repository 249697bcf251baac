#include "workbench/workbench_command_line.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "base/version.h"
#include "extract/text_codec.h"
#include "options/command_line.h"
#include "options/format_options.h"
#include "options/layout_options.h"
#include "options/run_options.h"
#include "options/text_options.h"

namespace lumadot {
namespace {

constexpr std::string_view kDescription =
    "Lumadot's glyph workbench: the text (or a picture), the font and its size,\n"
    "the byte layout and the output in one window, redrawn as you type, with\n"
    "the dots as the sign lights them and the sign itself to send to.";

constexpr std::string_view kFooter =
    "The options are lumadot-cli extract's (the sign's as extract --send takes\n"
    "them). Given any option or text, every control they cover starts as\n"
    "lumadot-cli extract would run without that option, so the window shows what\n"
    "extract prints for the same command line; without any, the window opens as\n"
    "it was last closed. Example:\n"
    "  lumadot-workbench --scan columns --lsb-first --format c51 中A";

const std::string kSignSection = "The sign box (\"显示屏\")";

struct Options {
  LayoutOptions layout;
  FormatOptions output;
  RunSettings run;
  TextInput input;
  std::string picture;
  bool subset = false;
};

void declareOptions(CLI::App& app, Options& options) {
  addLayoutOptions(app, options.layout);
  addFontDirOption(app, options.run);
  addFormatOptions(app, options.output);
  addSourceOptions(app, options.output);
  addPortOptions(app, options.run.request, kSignSection);
  addEffectOptions(app, options.run.request, kSignSection);
  app.add_flag("--subset", options.subset, "the output as lumadot-cli font writes it: a font subset");
  app.add_option("--picture", options.picture, "open this picture (PNG, BMP, GIF, JPEG) instead of a text")
      ->type_name("FILE");
  addTextOptions(app, options.input, "the text to open");
}

// The options' settings, or why they do not fit together.
std::variant<WorkbenchStart, std::string> startOf(const Options& options) {
  if (options.input.texts.size() > 1) return std::string("put quotes around text with spaces");
  const auto layout = chosenLayout(options.layout);
  if (!layout) return layout.error().text;
  const auto output = outputAsked(options.output);
  if (!output) return output.error().text;
  WorkbenchStart start;
  start.settings.layout = *layout;
  start.settings.output.format = output->format;
  start.settings.output.names = output->names;
  start.settings.output.source = output->source;
  start.settings.output.subset = options.subset;
  start.settings.fontDir = options.run.fontDir;
  start.settings.font = options.run.font;
  start.sign = sendBoxes(options.run.request);
  start.pictureFile = options.picture;
  return start;
}

}  // namespace

std::variant<WorkbenchStart, int> readWorkbenchCommandLine(const std::vector<std::string>& args) {
  CommandLine line("lumadot-workbench", std::string(kDescription), std::string(kFooter));
  line.app().set_version_flag("--version", "lumadot-workbench " LUMADOT_VERSION, "show the version");
  Options options;
  declareOptions(line.app(), options);
  if (const auto exit = line.parse(args)) return *exit;
  auto start = startOf(options);
  if (auto* problem = std::get_if<std::string>(&start)) return line.usageError(*problem);
  auto& ready = std::get<WorkbenchStart>(start);
  ready.commandLine = !args.empty();
  // Standard input is not read: a window started from a menu has none worth waiting for.
  const auto text = givenText(options.input);
  if (!text) {
    std::fprintf(stderr, "lumadot-workbench: %s\n", text.error().text.c_str());
    return kExitFailed;
  }
  if (*text) ready.settings.text = utf8ToUtf16(**text);
  return std::move(ready);
}

}  // namespace lumadot
