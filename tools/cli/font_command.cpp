#include "cli/font_command.h"

#include <CLI/CLI.hpp>
#include <set>
#include <utility>

#include "base/file_writer.h"
#include "base/utf8_path.h"
#include "base/file_reader.h"
#include "cli/console.h"
#include "cli/character_names.h"
#include "cli/console_runner.h"
#include "options/text_options.h"
#include "options/format_options.h"
#include "options/layout_options.h"
#include "extract/text_codec.h"
#include "fonts/rendered_glyphs.h"
#include "subset/character_set.h"
#include "subset/font_subset.h"
#include "subset/subset_source.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Looks the characters of TEXT, of --chars-file and of each --range up in the\n"
    "font files (or --font), as extract does, and prints the glyphs a firmware\n"
    "needs, each once in ascending code order, with the tables it finds them by:\n"
    "PREFIX_count, PREFIX_height, PREFIX_codes, PREFIX_offsets, PREFIX_widths,\n"
    "PREFIX_bytes and, in C, int PREFIX_find(unsigned int ch), the glyph's index\n"
    "or -1, a binary search.";

constexpr std::string_view kFooter =
    "A code is what the firmware's text holds: the byte of a single-byte\n"
    "character, lead byte * 256 + trail byte of a double-byte one. A --range\n"
    "end is a hex code or one character: --range 0x20-0x7E, --range 啊-齄; codes\n"
    "in it that are no character of the --charset's grid are skipped. Line\n"
    "breaks are not characters. A character with no glyph is named on standard\n"
    "error and left out. The glyph bytes may take at most 65,536 bytes.\n"
    "\n"
    "Example: lumadot-cli font --header fonts.h --range 0x20-0x7E 欢迎光临 > fonts.c\n"
    "\n"
    "Exit status: 0 the subset was written, 1 it could not be, 2 usage error.";

struct FontOptions {
  LayoutOptions layout;
  FormatOptions output{OutputFormat::sdcc, {}, false};
  RunSettings run;
  std::vector<std::string> texts;
  std::vector<std::string> ranges;  // FROM-TO, each checked as the command line is read
  std::string charsFile;
  std::optional<TextEncoding> encoding;  // of --chars-file
  std::string header;
};

void declareOptions(CLI::App& app, FontOptions& options) {
  addLayoutOptions(app, options.layout);
  addFontDirOption(app, options.run);
  addFormatOptions(app, options.output,
                   {canWriteSubset, false, "name the tables PREFIX_codes, PREFIX_bytes, ... (default ZI)"});
  addSourceOptions(app, options.output);
  app.add_option("TEXT", options.texts, "characters to include, as typed");
  app.add_option("--range", options.ranges,
                 "include every character from code FROM to TO, each a hex\ncode (0xB0A1) or one character (啊); repeatable")
      ->type_name("FROM-TO")
      ->allow_extra_args(false)
      ->check(CLI::Validator(
          [](std::string& text) {
            const auto range = parseCodeRange(text);
            return range ? std::string() : "--range " + range.error().text;
          },
          ""));
  CLI::Option* chars =
      app.add_option("--chars-file", options.charsFile, "include the characters of FILE")->type_name("FILE");
  addEncodingOption(app, options.encoding, "--chars-file");
  app.get_option("--encoding")->needs(chars);
  app.add_option("--header", options.header, "c51 and sdcc: write the declarations to FILE")->type_name("FILE");
}

Result<std::u16string> wantedCharacters(const FontOptions& options) {
  std::string text = options.texts.empty() ? std::string() : options.texts.front();
  if (!options.charsFile.empty()) {
    const auto file = readWholeFile(options.charsFile, kMaxTextBytes);
    if (!file) return file.error();
    const auto decoded = decodedText(*file, options.charsFile, options.encoding);
    if (!decoded) return decoded.error();
    text += *decoded;
  }
  std::u16string characters = utf8ToUtf16(text);
  for (const std::string& range : options.ranges) {
    characters += rangeCharacters(*parseCodeRange(range), options.run.font.charset);
  }
  return characters;
}

// Each kind of character with no glyph, named with its reason.
std::string undrawnNote(const std::vector<UndrawnCharacter>& undrawn, const FontPaths& paths) {
  const std::pair<Undrawn, std::string> kinds[] = {
      {Undrawn::questionMark, "not in code page 936"},
      {Undrawn::outsideGrid, "outside the grid of " + utf8Path(paths.hzk16.filename())},
      {Undrawn::pastAsc16End, "past the end of " + utf8Path(paths.asc16)},
      {Undrawn::pastHzk16End, "past the end of " + utf8Path(paths.hzk16)},
  };
  std::string note;
  for (const auto& [why, what] : kinds) {
    if (const std::string names = namedCharacters(undrawn, why); !names.empty()) {
      note += (note.empty() ? "" : "; ") + names + " (" + what + ")";
    }
  }
  return note;
}

// The wanted characters without line breaks and without those that have no
// glyph, which are named on one line.
std::u16string withoutUndrawn(std::u16string_view wanted, const RunFonts& fonts) {
  std::u16string text;
  for (const char16_t unit : wanted) {
    if (unit != u'\r' && unit != u'\n') text += unit;
  }
  const auto undrawn = fonts.undrawn(text);
  if (undrawn.empty()) return text;
  printError("warning: no glyph, left out: " + undrawnNote(undrawn, fonts.paths()));
  std::set<std::u16string_view> dropped;
  for (const UndrawnCharacter& c : undrawn) dropped.insert(c.character);
  std::u16string kept;
  for (std::size_t pos = 0; pos < text.size(); pos += characterLength(text, pos)) {
    const auto character = std::u16string_view(text).substr(pos, characterLength(text, pos));
    if (!dropped.contains(character)) kept += character;
  }
  return kept;
}

// The subset's glyphs, or nothing when it cannot be made (and why, printed).
std::optional<FontSubset> lookUpSubset(const std::u16string& wanted, const ByteLayout& layout, RunFonts& fonts) {
  const std::u16string characters = distinctCharacters(withoutUndrawn(wanted, fonts));
  const CellSize cell = fonts.rendered() ? fonts.rendered()->cell() : fonts.paths().cell;
  Result<void> fits = checkSubsetSize(characters, cell, layout.scan);
  if (!fits) {
    printError(fits.error().text);
    return std::nullopt;
  }
  auto glyphs = fonts.rendered() ? lookUp(characters, layout, *fonts.rendered())
                                 : lookUp(characters, layout, fonts.paths());
  if (!glyphs) {
    printLookUpFailure(glyphs.error(), fonts);
    return std::nullopt;
  }
  FontSubset subset = fontSubset(*glyphs);
  if (fonts.rendered() && !fonts.rendered()->missing().empty()) {
    const auto& missing = fonts.rendered()->missing();
    printError("warning: no glyph, left out: " + namedCharacters(missing) + " (not in " + fonts.fontFile() + ")");
    leaveOut(subset, missing);
  }
  if (subset.glyphs.empty()) printError("no character given has a glyph; nothing to write");
  return subset.glyphs.empty() ? std::nullopt : std::optional(std::move(subset));
}

std::optional<std::string> optionProblem(const FontOptions& options, const Output& output) {
  if (options.texts.size() > 1) return "font takes one TEXT; put quotes around text with spaces";
  if (options.texts.empty() && options.charsFile.empty() && options.ranges.empty()) {
    return "give the characters: TEXT, --chars-file FILE or --range FROM-TO";
  }
  if (!options.header.empty() && !canMakeTable(output.format)) return "--header goes with --format c51 or sdcc";
  if (auto apart = checkNotStandardOutput("--header", options.header); !apart) return apart.error().text;
  if (output.names.prefix.size() > kMaxSubsetPrefixLength) {
    return "--name takes at most " + std::to_string(kMaxSubsetPrefixLength) +
           " characters here, so that PREFIX_offsets stays within the 31 assemblers tell apart";
  }
  return std::nullopt;
}

int writeSubset(const FontOptions& options, const Output& output, const FontSubset& subset) {
  const std::string& prefix = output.names.prefix;
  if (!options.header.empty()) {
    if (auto written = replaceFile(pathFromUtf8(options.header), subsetHeader(output.format, subset, prefix)); !written) {
      return failedWith(written.error());
    }
  }
  return writeStdout(subsetSource(output.format, subset, prefix, output.source)) ? kExitCompleted : kExitFailed;
}

int runFont(CommandLine& line, const FontOptions& options, Reach reach) {
  const auto output = chosenOutput(options.output, "font");
  if (!output) return line.usageError(output.error().text);
  if (const auto problem = optionProblem(options, *output)) return line.usageError(*problem);
  const auto layout = chosenLayout(options.layout);
  if (!layout) return line.usageError(layout.error().text);
  if (reach == Reach::checkOptions) return kExitCompleted;

  const auto wanted = wantedCharacters(options);
  if (!wanted) {
    printError(wanted.error().text);
    return kExitFailed;
  }
  RunFonts fonts = fontsOf(options.run);
  if (fonts.failure()) return failedWith(*fonts.failure());
  const auto subset = lookUpSubset(*wanted, *layout, fonts);
  return subset ? writeSubset(options, *output, *subset) : kExitFailed;
}

}  // namespace

int runFontCommand(const std::vector<std::string>& args, Reach reach) {
  return parseAndRun<FontOptions>(args, "lumadot-cli font", kDescription, kFooter,
                                           [reach](CommandLine& line, const FontOptions& options) {
                                             return runFont(line, options, reach);
                                           });
}

}  // namespace lumadot::cli
