#include "cli/detect_command.h"

#include <CLI/CLI.hpp>

#include "cli/console.h"
#include "cli/console_runner.h"
#include "cli/layout_options.h"
#include "extract/ansi_code.h"
#include "extract/character_walk.h"
#include "extract/firmware_bytes.h"
#include "extract/glyph_entries.h"
#include "extract/layout_detector.h"
#include "extract/text_codec.h"
#include "extract/undrawn_characters.h"
#include "preview/dot_picture.h"
#include "preview/terminal_picture.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Works out which byte layout a firmware stores its glyphs in, from the bytes\n"
    "of one glyph as they stand in its source: it draws them in every layout and\n"
    "compares each picture with CHARACTER's glyph in our fonts. The first line\n"
    "printed is the layout as options for extract and preview; then comes the\n"
    "picture the bytes draw in it, and how well the runner-up fits.";

constexpr std::string_view kFooter =
    "BYTES may be spelled as assembler or C has them, with DB, .db, braces,\n"
    "commas, labels and comments: 0x1F, 1FH, 0F8H, 31, 0b11111. Without BYTES\n"
    "they are read from standard input, so a glyph can be pasted as it is.\n"
    "The firmware's font need not be ours: the comparison forgives a shift of\n"
    "two dots and another stroke width. Give a Chinese character: symbols and\n"
    "punctuation differ too much from font to font.\n"
    "\n"
    "Example: lumadot-cli detect 中 < glyph.asm\n"
    "\n"
    "Exit status: 0 a layout found, 1 the bytes cannot tell, 2 usage error.";

struct DetectOptions {
  bool ascii = false;
  RunSettings run;  // only --font-dir
  std::string character;
  std::vector<std::string> bytes;
};

void declareOptions(CLI::App& app, DetectOptions& options) {
  addFontDirOption(app, options.run);
  app.add_flag("--ascii", options.ascii, "draw with # and . instead of █ and ·");
  app.add_option("CHARACTER", options.character, "the character the bytes draw")->required();
  app.add_option("BYTES", options.bytes, "the glyph's bytes; without them, standard input");
}

// The one character of CHARACTER, or why it is not one.
Result<TextCharacter> oneCharacter(std::u16string_view text) {
  CharacterWalk walk(text);
  const auto first = walk.next();
  if (!first || first->text.size() != text.size()) {
    return Failure("CHARACTER must be one character, the one the bytes draw");
  }
  return *first;
}

// Our glyph of `character`, when it is one the bytes can be judged against.
Result<GlyphPicture> ourGlyph(const TextCharacter& character, const RunSettings& settings) {
  const std::string shown = utf16ToUtf8(character.text);
  const FontPaths fonts = fontPaths(settings);
  if (!undrawnCharacters(character.text, fontSizes(fonts)).empty()) {
    return Failure("our fonts have no glyph for " + lineSafeCharacter(character.text) + " to compare the bytes with");
  }
  // Only the GB2312 rows of Chinese characters: symbols differ too much between fonts.
  if (isDoubleByte(character) && (leadByte(character.code) < 0xB0 || leadByte(character.code) > 0xF7)) {
    return Failure(shown + " is not a Chinese character; symbols differ too much from font to font to tell a layout "
                           "by: give the bytes of a Chinese character, such as 国");
  }
  ConsoleRunner runner(settings, localeDecimalSeparator());
  // A font that cannot be read: the runner has said so.
  const auto outcome = runner.run(character.text, {}, nullptr, false);
  if (!outcome.completed) return Failure("");
  const std::vector<GlyphEntry> entries = glyphEntries(outcome.glyphs);
  const GlyphPicture glyph = decodeGlyph(entries.at(0).bytes, entries.at(0).dots, {});
  if (glyph.litCount() == 0) {
    return Failure("our glyph of " + lineSafeCharacter(character.text) +
                   " is blank, so there is nothing to compare the bytes with");
  }
  return glyph;
}

// The bytes from the arguments, or from standard input; at least one.
Result<std::vector<std::uint8_t>> givenBytes(const std::vector<std::string>& arguments) {
  std::string text;
  if (arguments.empty()) {
    auto piped = readAllStdin();
    if (!piped) return piped.error();
    text = std::move(*piped);
  }
  for (const std::string& argument : arguments) text += argument + "\n";
  auto bytes = readFirmwareBytes(text);
  if (bytes && bytes->empty()) {
    return Failure("no bytes: give the glyph's bytes after CHARACTER, or on standard input");
  }
  return bytes;
}

// The layout, the bytes drawn as preview draws them in it, and the runner-up.
std::string report(const Detection& found, const TextCharacter& character, std::span<const std::uint8_t> bytes,
                   bool ascii) {
  const GlyphEntry entry{character.text, isDoubleByte(character), bytes, found.best.pictures.front().dots()};
  std::string text = "layout: " + layoutOptions(found.best.layout) + "\n";
  text += terminalPicture(drawGlyphs({&entry, 1}, found.best.layout), ascii ? kAsciiDots : kBlockDots, 0);
  text += "misfit " + std::to_string(found.best.misfit) + " against our " + lineSafeCharacter(character.text) +
          " (0 would be dot for dot); runner-up " + layoutOptions(found.runnerUp.layout) + ", misfit " +
          std::to_string(found.runnerUp.misfit) + "\n";
  if (!found.best.alike.empty()) {
    text += "the same picture in";
    for (std::size_t i = 0; i < found.best.alike.size(); ++i) text += (i ? ", " : " ") + layoutOptions(found.best.alike[i]);
    text += ": the bytes of a character ";
    text += entry.doubleByte ? "that is not symmetric" : "that is not symmetric, or of a Chinese one,";
    text += " tell them apart\n";
  }
  return text;
}

// Two layouts that fit nearly as well, which the bytes of this glyph cannot tell apart.
std::string closeRace(const Detection& found) {
  return layoutOptions(found.best.layout) + " and " + layoutOptions(found.runnerUp.layout) +
         " fit the bytes almost equally well (misfit " + std::to_string(found.best.misfit) + " and " +
         std::to_string(found.runnerUp.misfit) + "); give the bytes of a character with more strokes";
}

int runDetect(tools::CommandLine& line, const DetectOptions& options, tools::Reach reach) {
  const std::u16string typed = utf8ToUtf16(options.character);
  const auto character = oneCharacter(typed);
  if (!character) return line.usageError(character.error().text);
  if (reach == tools::Reach::checkOptions) return kExitCompleted;

  const auto ours = ourGlyph(*character, options.run);
  const auto bytes = ours ? givenBytes(options.bytes) : Result<std::vector<std::uint8_t>>(ours.error());
  if (!bytes) {
    if (!bytes.error().text.empty()) printError(bytes.error().text);
    return kExitFailed;
  }
  const std::size_t wanted = glyphSize(ours->dots());
  if (bytes->size() != wanted) {
    printError("there are " + std::to_string(bytes->size()) + " bytes, but the glyph of " +
               (isDoubleByte(*character) ? "a double-byte" : "a single-byte") + " character such as " +
               utf16ToUtf8(character->text) + " has " + std::to_string(wanted));
    return kExitFailed;
  }
  const auto found = detectLayout(*bytes, *ours);
  if (!found || !found->clear) {
    printError(found ? closeRace(*found) : found.error().text);
    return kExitFailed;
  }
  return writeStdout(report(*found, *character, *bytes, options.ascii)) ? kExitCompleted : kExitFailed;
}

}  // namespace

int runDetectCommand(const std::vector<std::string>& args, tools::Reach reach) {
  return tools::parseAndRun<DetectOptions>(args, "lumadot-cli detect", kDescription, kFooter,
                                             [reach](tools::CommandLine& line, const DetectOptions& options) {
                                               return runDetect(line, options, reach);
                                             });
}

}  // namespace lumadot::cli
