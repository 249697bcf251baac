#include "cli/preview_command.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>

#include "base/file_writer.h"
#include "base/utf8_path.h"
#include "cli/console.h"
#include "cli/console_runner.h"
#include "cli/text_input.h"
#include "options/layout_options.h"
#include "options/command_line.h"
#include "extract/glyph_entries.h"
#include "extract/text_codec.h"
#include "preview/dot_picture.h"
#include "preview/png_image.h"
#include "preview/terminal_picture.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Draws the glyph bytes of TEXT as the sign lights them, one character cell\n"
    "per dot. The picture is read back from the bytes as they will be sent, in\n"
    "the layout asked for, so a font file that does not fit (another layout,\n"
    "another character grid) shows at once as mirrored or scrambled glyphs.";

constexpr std::string_view kFooter =
    "Without TEXT the whole of standard input is read as UTF-8, as extract reads\n"
    "it. Exit status: 0 drawn, 1 the run or the file failed, 2 usage error.";

struct PreviewOptions {
  LayoutOptions layout;
  DrawOptions draw;
  RunSettings run;  // only --font-dir: a preview sends nothing
  TextInput input;
};

void declareOptions(CLI::App& app, PreviewOptions& options) {
  addLayoutOptions(app, options.layout);
  addFontDirOption(app, options.run);
  addDrawOptions(app, options.draw);
  addTextOptions(app, options.input, "the text to draw; without it, standard input");
}

int runPreview(CommandLine& line, const PreviewOptions& options, Reach reach) {
  if (options.input.texts.size() > 1) return line.usageError("preview takes one TEXT; put quotes around text with spaces");
  const auto layout = chosenLayout(options.layout);
  if (!layout) return line.usageError(layout.error().text);
  if (reach == Reach::checkOptions) return kExitCompleted;

  const auto typed = runText(options.input);
  if (!typed) {
    printError(typed.error().text);
    return kExitFailed;
  }
  const std::u16string text = utf8ToUtf16(*typed);
  ConsoleRunner runner(options.run, localeDecimalSeparator());
  const auto outcome = runner.run(text, *layout, nullptr, false);
  if (!outcome.completed) return kExitFailed;
  return showGlyphs(line.app(), outcome.glyphs, *layout, options.draw);
}

}  // namespace

void addDrawOptions(CLI::App& app, DrawOptions& options, CLI::Option* drawn) {
  CLI::Option* ascii = app.add_flag("--ascii", options.ascii, "draw with # and . instead of █ and ·");
  CLI::Option* width = addWholeNumberOption(
      app, "--width", options.width, 0, 1000000,
      "break the picture into bands at most N dots wide,\n"
      "between glyphs; 0 never breaks it (default: the\n"
      "terminal's width, or 0 when the output is not one)",
      [](const std::string&) { return "--width must be a whole number of dots, 0 or more"; });
  if (drawn != nullptr) {
    ascii->needs(drawn);
    width->needs(drawn);
  }
  CLI::Option* png = app.add_option("--png", options.png, "write the picture to FILE as a PNG instead,\nlit dots red");
  png->type_name("FILE");
  const std::string range = std::to_string(kMinPngScale) + " to " + std::to_string(kMaxPngScale);
  addWholeNumberOption(app, "--scale", options.scale, kMinPngScale, kMaxPngScale,
                              "pixels per dot in the PNG, " + range + " (default " +
                                  std::to_string(kDefaultPngScale) + ")",
                              [range](const std::string&) { return "--scale must be a whole number from " + range; })
      ->needs(png);
}

int showGlyphs(const CLI::App& app, const Glyphs& glyphs, const ByteLayout& layout, const DrawOptions& options) {
  const DotPicture picture = drawGlyphs(glyphEntries(glyphs), layout);
  if (options.png.empty()) {
    const int width = app.count("--width") > 0 ? options.width : (isTerminal(stdout) ? terminalColumns() : 0);
    return writeStdout(terminalPicture(picture, options.ascii ? kAsciiDots : kBlockDots, width)) ? kExitCompleted
                                                                                                 : kExitFailed;
  }
  if (picture.width() == 0) {
    printError("nothing to draw: the text has no characters, so no PNG was written");
    return kExitFailed;
  }
  const auto image = pngImage(picture, options.scale);
  if (!image) {
    printError(image.error().text);
    return kExitFailed;
  }
  if (const auto written = replaceFile(pathFromUtf8(options.png), *image); !written) {
    printError(written.error().text + ": " + written.error().detail);
    return kExitFailed;
  }
  return kExitCompleted;
}

int runPreviewCommand(const std::vector<std::string>& args, Reach reach) {
  return parseAndRun<PreviewOptions>(args, "lumadot-cli preview", kDescription, kFooter,
                                              [reach](CommandLine& line, const PreviewOptions& options) {
                                                return runPreview(line, options, reach);
                                              });
}

}  // namespace lumadot::cli
