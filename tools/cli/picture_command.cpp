#include "cli/picture_command.h"

#include <CLI/CLI.hpp>
#include <optional>
#include <utility>
#include <variant>

#include "base/file_reader.h"
#include "cli/console.h"
#include "cli/console_runner.h"
#include "options/font_options.h"
#include "options/format_options.h"
#include "options/layout_options.h"
#include "cli/preview_command.h"
#include "extract/glyph_entries.h"
#include "formats/output_format.h"
#include "frame/display_frame.h"
#include "picture/picture.h"
#include "picture/picture_dots.h"
#include "picture/picture_glyphs.h"
#include "run/sign_can_show.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Reads a picture (PNG, BMP, GIF or JPEG, told apart by their first bytes;\n"
    "a GIF's first frame) and makes its dots glyph bytes, with every output of\n"
    "extract: the listing, each --format, the preview, and at 16 rows the frame\n"
    "sent to the sign. A pixel darker than the threshold is a lit dot, as a\n"
    "glyph is drawn black on white; transparent pixels count as white. The\n"
    "picture, at most 64 rows high, is cut left to right into cells as wide as\n"
    "it is high while one fits, then into cells half as wide, the last padded\n"
    "with dark dots: a 16-row picture gives 16x16 and 8x16 glyphs, labelled\n"
    "图1, 图2, ... in the listing.";

constexpr std::string_view kFooter =
    "Example: lumadot-cli picture --height 16 --dither --frame-out w.bin logo.png\n"
    "\n"
    "Messages go to standard error, one line each.\n"
    "Exit status: 0 done, 1 the picture or the run failed, 2 usage error.";

const std::string kDotSection = "Pixels to dots";
// More than any picture within the pixel limit takes, uncompressed.
constexpr std::size_t kMaxPictureFileBytes = std::size_t{512} << 20;

struct PictureOptions {
  LayoutOptions layout;
  FormatOptions output;
  DotOptions dots;                          // its scale from the two below, once they are read
  int height = 0;                           // --height; 0 when not given
  std::optional<std::pair<int, int>> size;  // --size W x H
  bool preview = false;
  DrawOptions draw;
  RunSettings run;  // the send options only
  std::string file;
};

// "WxH": W 1 to 65,535 dots across, H 1 to 64 rows.
std::optional<std::pair<int, int>> sizeNamed(const std::string& text) {
  const auto x = text.find('x');
  if (x == std::string::npos) return std::nullopt;
  const auto width = wholeNumber(std::string_view(text).substr(0, x), 1, kMaxPictureSide);
  const auto height = wholeNumber(std::string_view(text).substr(x + 1), 1, Dots::kMaxSide);
  if (!width || !height) return std::nullopt;
  return std::make_pair(*width, *height);
}

void addDotOptions(CLI::App& app, PictureOptions& options) {
  DotOptions& dots = options.dots;
  addWholeNumberOption(app, "--threshold", dots.threshold, 0, 255,
                              "a pixel darker than N (0 black to 255 white) is a lit\n"
                              "dot, any other a dark one (default 128)",
                              [](const std::string&) { return "--threshold must be a whole number from 0 to 255"; })
      ->group(kDotSection);
  app.add_flag("--dither", dots.dither, "Floyd-Steinberg dithering: greys become a share of lit dots")
      ->group(kDotSection);
  app.add_flag("--invert", dots.invert, "light pixels are the lit dots (a picture drawn light on dark)")
      ->group(kDotSection);
  CLI::Option* height = addWholeNumberOption(
      app, "--height", options.height, 1, Dots::kMaxSide,
      "scale to N rows (1 to 64), keeping the aspect ratio;\neach dot the average of the pixels it covers",
      [](const std::string&) { return "--height must be a whole number from 1 to 64"; });
  height->group(kDotSection);
  app.add_option_function<std::string>(
         "--size", [&options](const std::string& text) { options.size = sizeNamed(text); },
         "scale to exactly W x H dots (W 1 to 65535, H 1 to 64)")
      ->type_name("WxH")
      ->group(kDotSection)
      ->excludes(height)
      ->check(CLI::Validator(
          [](std::string& text) {
            return sizeNamed(text) ? std::string() : "--size takes WxH, W 1 to 65535 and H 1 to 64, not '" + text + "'";
          },
          ""));
}

void declareOptions(CLI::App& app, PictureOptions& options) {
  addLayoutOptions(app, options.layout);
  addFormatOptions(app, options.output);
  addSourceOptions(app, options.output);
  addDotOptions(app, options);
  CLI::Option* preview =
      app.add_flag("--preview", options.preview, "draw the dots in the terminal instead, as preview does");
  addDrawOptions(app, options.draw, preview);
  preview->excludes("--png");
  addSendOptions(app, options.run);
  app.add_option("FILE", options.file, "the picture")->required();
}

// The dots' scale as --height or --size ask; the rows the picture will have, when they say.
DotScale scaleOf(const PictureOptions& options) {
  if (options.size) return {options.size->second, options.size->first};
  if (options.height > 0) return {options.height, std::nullopt};
  return {};
}

// Why the sign cannot show a picture `rows` high, cut into cells as high as
// it is wide; empty when it can.
std::string pictureRefusal(int rows) {
  if (signCanShow(CellSize{rows, rows})) return {};
  return signRefusal("a picture " + std::to_string(rows) + " dots high", "scale it with --height 16");
}

int failed(const std::string& text) {
  printError(text);
  return kExitFailed;
}

// The picture's glyphs, or the exit status of why there are none.
std::variant<Glyphs, int> pictureRun(CommandLine& line, const PictureOptions& options,
                                     const ByteLayout& layout) {
  const auto bytes = readWholeFile(options.file, kMaxPictureFileBytes);
  if (!bytes) return failed(bytes.error().text);
  const auto grey = readPicture({reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()}, options.file);
  if (!grey) return failed(grey.error().text);
  DotOptions dotOptions = options.dots;
  dotOptions.scale = scaleOf(options);
  const DotGrid dots = pictureDots(*grey, dotOptions);
  const bool tooTall = dots.height > Dots::kMaxSide;
  if (const std::string refusal = pictureRefusal(dots.height); options.run.sends() && !tooTall && !refusal.empty()) {
    return line.usageError(refusal);
  }
  auto glyphs = pictureGlyphs(dots, layout);
  if (!glyphs && tooTall) return failed(options.file + ": " + glyphs.error().text + "; scale it down with --height N");
  if (!glyphs) return failedWith(glyphs.error());
  // Its height was asked about above: only its width can be refused now.
  if (const SignVerdict shows = signCanShow(*glyphs); options.run.sends() && !shows) {
    return failed(options.file + ": the picture is " + std::to_string(shows.refusal->columns) +
                  " 8-dot columns wide; a frame carries at most " + std::to_string(kWidestFrame) +
                  ": scale it down with --size WxH");
  }
  return std::move(*glyphs);
}

int runPicture(CommandLine& line, const PictureOptions& options, Reach reach) {
  const auto output = chosenOutput(options.output, "picture");
  if (!output) return line.usageError(output.error().text);
  const auto layout = chosenLayout(options.layout);
  if (!layout) return line.usageError(layout.error().text);
  if (auto used = requireSendForBoxOptions(line.app(), options.run); !used) return line.usageError(used.error().text);
  const bool drawn = options.preview || !options.draw.png.empty();
  for (const char* printing : {"--format", "--no-credit", "--output-encoding"}) {
    if (drawn && line.app().count(printing) > 0) {
      return line.usageError(std::string(printing) + " goes without --preview and --png");
    }
  }
  // With --png standard output carries nothing the frame file could overwrite.
  if (auto apart = checkNotStandardOutput("--frame-out", options.draw.png.empty() ? options.run.frameOut : "");
      !apart) {
    return line.usageError(apart.error().text);
  }
  if (const DotScale scale = scaleOf(options); options.run.sends() && scale.height) {
    if (const std::string refusal = pictureRefusal(*scale.height); !refusal.empty()) return line.usageError(refusal);
  }
  if (reach == Reach::checkOptions) return kExitCompleted;
  if (!output->note.empty()) printError(output->note);

  auto made = pictureRun(line, options, *layout);
  if (const int* exit = std::get_if<int>(&made)) return *exit;
  Glyphs glyphs = std::move(std::get<Glyphs>(made));
  ConsoleRunner runner(options.run, localeDecimalSeparator());
  runner.setListingEncoding(output->source.encoding);
  const bool listing = output->format == OutputFormat::listing && !drawn;
  const SendRequest* request = options.run.sends() ? &options.run.request : nullptr;
  const auto outcome = runner.run(glyphs, request, listing, isTerminal(stdout) ? "\r\n" : "");
  if (!outcome.listingWritten || !outcome.completed) return kExitFailed;
  if (drawn) return showGlyphs(line.app(), outcome.glyphs, *layout, options.draw);
  const bool printed =
      listing || writeStdout(formatGlyphs(output->format, glyphEntries(outcome.glyphs), output->names, output->source));
  return printed ? kExitCompleted : kExitFailed;
}

}  // namespace

int runPictureCommand(const std::vector<std::string>& args, Reach reach) {
  return parseAndRun<PictureOptions>(
      args, "lumadot-cli picture", kDescription, kFooter,
      [reach](CommandLine& line, const PictureOptions& options) { return runPicture(line, options, reach); });
}

}  // namespace lumadot::cli
