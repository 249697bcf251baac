#include "cli/preview_command.h"

#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>

#ifndef _WIN32
#include <sys/ioctl.h>
#include <unistd.h>
#endif

#include "cli/console.h"
#include "cli/console_runner.h"
#include "common/arguments.h"
#include "extract/glyph_entries.h"
#include "extract/text_codec.h"
#include "preview/dot_picture.h"
#include "preview/png_image.h"
#include "preview/terminal_picture.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: lumadot-cli preview [--reverse] [--split] [--font-dir DIR] [--ascii]\n"
    "                           [--width N] [--png FILE [--scale N]] [TEXT]\n";

constexpr std::string_view kHelp =
    "\n"
    "Draws the glyph bytes of TEXT as the sign lights them, one character cell\n"
    "per dot. The picture is read from the bytes as they will be sent, laid out\n"
    "the way they are stored, so a font file that does not fit (another bit\n"
    "order, another character grid) shows at once as mirrored or scrambled\n"
    "glyphs.\n"
    "\n"
    "Options:\n"
    "  --reverse       \"字节倒序\": the bytes are bit-reversed; bit 0 is drawn on\n"
    "                  the left\n"
    "  --split         \"8*16格式\": each Chinese glyph is stored as two 8x16\n"
    "                  tiles, drawn left half first\n";

constexpr std::string_view kHelpEnd =
    "  --ascii         draw with # and . instead of █ and ·\n"
    "  --width N       break the picture into bands at most N dots wide, between\n"
    "                  glyphs; 0 never breaks it (default: the terminal's width,\n"
    "                  or 0 when the output is not a terminal)\n"
    "  --png FILE      write the picture to FILE as a PNG instead, lit dots red\n"
    "  --scale N       pixels per dot in the PNG, 1 to 32 (default 4)\n"
    "  -h, --help      show this help\n"
    "\n"
    "Without TEXT the whole of standard input is read as UTF-8, as extract reads\n"
    "it. Exit status: 0 drawn, 1 the run or the file failed, 2 usage error.\n";

// Dots per band when --width is not given: a terminal's columns, else no bands.
int defaultWidth() {
  if (!isTerminal(stdout)) return 0;
#ifndef _WIN32
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
#endif
  if (const char* columns = std::getenv("COLUMNS")) {
    if (const auto value = tools::wholeNumber(columns, 1, 100000)) return *value;
  }
  return 80;
}

}  // namespace

int runPreviewCommand(const std::vector<std::string>& args) {
  tools::Arguments parsed;
  const std::vector<tools::KnownOption> known{{"--reverse"},       {"--split"},     {"--font-dir", true},
                                              {"--ascii"},         {"--width", true}, {"--png", true},
                                              {"--scale", true},   {"--help"}};
  if (const auto error = parsed.parse(args, known)) return usageError(*error, kUsage, "preview");
  if (parsed.has("--help")) {
    std::cout << kUsage << kHelp << fontDirHelp() << kHelpEnd << std::flush;
    return kExitCompleted;
  }
  if (parsed.positionals().size() > 1) {
    return usageError("preview takes one TEXT; put quotes around text with spaces", kUsage, "preview");
  }
  int width = 0;
  if (const auto given = parsed.value("--width")) {
    const auto value = tools::wholeNumber(*given, 0, 1000000);
    if (!value) return usageError("--width must be a whole number of dots, 0 or more", kUsage, "preview");
    width = *value;
  } else {
    width = defaultWidth();
  }
  const auto png = parsed.value("--png");
  int scale = kDefaultPngScale;
  if (const auto given = parsed.value("--scale")) {
    if (!png) return usageError("--scale goes with --png", kUsage, "preview");
    const auto value = tools::wholeNumber(*given, kMinPngScale, kMaxPngScale);
    if (!value) return usageError("--scale must be a whole number from 1 to 32", kUsage, "preview");
    scale = *value;
  }

  const std::u16string text = utf8ToUtf16(runText(parsed));
  const PictureLayout layout{parsed.has("--split"), parsed.has("--reverse")};
  ConsoleRunner runner(parsed, localeDecimalSeparator());
  if (!runner.run(text, {layout.reverseBits, layout.split8x16, false}, {}, false).completed) return kExitFailed;
  const DotPicture picture = drawGlyphs(glyphEntries(runner.buffer(), text), layout);

  if (!png) {
    return writeStdout(terminalPicture(picture, parsed.has("--ascii") ? kAsciiDots : kBlockDots, width))
               ? kExitCompleted
               : kExitFailed;
  }
  if (picture.width() == 0) {
    printError("nothing to draw: the text has no characters, so no PNG was written");
    return kExitFailed;
  }
  std::string image;
  try {
    image = pngImage(picture, scale);
  } catch (const std::exception& error) {  // zlib out of memory, at most
    printError(std::string("cannot make the PNG: ") + error.what());
    return kExitFailed;
  }
  if (const auto written = writeWholeFile(*png, image); !written) {
    printError(written.error().text + ": " + written.error().detail);
    return kExitFailed;
  }
  return kExitCompleted;
}

}  // namespace lumadot::cli
