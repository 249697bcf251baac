#include "cli/detect_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "cli/console.h"
#include "cli/console_runner.h"
#include "options/layout_options.h"
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
    "Works out which byte layout a firmware stores its glyphs in, from their\n"
    "bytes as they stand in its source: the glyphs of TEXT, one after another,\n"
    "as a font table holds them. It draws the bytes in every layout and compares\n"
    "the pictures with TEXT's glyphs in our fonts, all glyphs at once. The first\n"
    "line printed is the layout as options for extract and preview; then comes\n"
    "the picture the bytes draw in it, and how well the runner-up fits.";

constexpr std::string_view kFooter =
    "BYTES may be spelled as assembler or C has them, with DB, .db, braces,\n"
    "commas, labels and comments: 0x1F, 1FH, 0F8H, 31, 0b11111. Without BYTES\n"
    "they are read from standard input, so a table can be pasted as it is.\n"
    "The firmware's font need not be ours: the comparison forgives a shift of\n"
    "two dots and another stroke width. The more characters, the surer the\n"
    "answer; give Chinese ones: symbols and punctuation differ too much from\n"
    "font to font.\n"
    "\n"
    "Example: lumadot-cli detect 欢迎光临 < table.asm\n"
    "\n"
    "Exit status: 0 a layout found, 1 the bytes cannot tell, 2 usage error.";

struct DetectOptions {
  bool ascii = false;
  RunSettings run;  // --font-dir and the glyph options
  std::string text;
  std::vector<std::string> bytes;
};

void declareOptions(CLI::App& app, DetectOptions& options) {
  addFontDirOption(app, options.run);
  app.add_flag("--ascii", options.ascii, "draw with # and . instead of █ and ·");
  app.add_option("TEXT", options.text, "the characters the bytes draw, in the order of their glyphs")->required();
  app.add_option("BYTES", options.bytes, "the glyphs' bytes; without them, standard input");
}

// The characters of TEXT that get a glyph, or why there are none.
Result<std::vector<TextCharacter>> textCharacters(std::u16string_view text) {
  std::vector<TextCharacter> characters;
  CharacterWalk walk(text);
  while (const auto next = walk.next()) characters.push_back(*next);
  if (characters.empty()) return Failure("TEXT must hold the characters the bytes draw");
  return characters;
}

// Chinese characters: GB2312's rows of them, and GBK's two blocks beside them.
bool isChinese(std::int16_t code) {
  const int lead = leadByte(code), trail = trailByte(code);
  return (lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1) || (lead >= 0x81 && lead <= 0xA0) ||
         (lead >= 0xAA && trail <= 0xA0);
}

// The characters of `glyphs` as a line can show them.
std::string shownText(const Glyphs& glyphs) {
  std::string text;
  for (const Glyph& glyph : glyphs.glyphs) text += lineSafeCharacter(glyph.character);
  return text;
}

// TEXT's glyphs in our fonts, as the run has them, and the pictures they draw.
struct OurGlyphs {
  Glyphs glyphs;
  std::vector<GlyphPicture> pictures;
};

// Why the characters cannot be judged by: one our fonts cannot draw, or a symbol.
Result<void> judgeable(std::u16string_view text, const std::vector<TextCharacter>& characters,
                       const RunSettings& settings) {
  // A font drawn from (--font) has no grid and no end to fall short of; the run names what it lacks.
  for (const UndrawnCharacter& undrawn : undrawnCharacters(text, fontSizes(fontPaths(settings)))) {
    if (!settings.font.rendered() || undrawn.why == Undrawn::questionMark) {
      return Failure("our fonts have no glyph for " + lineSafeCharacter(undrawn.character) +
                     " to compare the bytes with");
    }
  }
  for (const TextCharacter& character : characters) {
    if (isDoubleByte(character) && !isChinese(character.code)) {
      return Failure(utf16ToUtf8(character.text) + " is not a Chinese character; symbols differ too much from font to "
                     "font to tell a layout by: give the bytes of Chinese characters, such as 国");
    }
  }
  return {};
}

Result<OurGlyphs> ourGlyphs(std::u16string_view text, const std::vector<TextCharacter>& characters,
                            const RunSettings& settings) {
  if (auto refusal = judgeable(text, characters, settings); !refusal) return refusal.error();
  ConsoleRunner runner(settings, localeDecimalSeparator());
  // A font that cannot be read: the runner has said so.
  auto outcome = runner.run(text, {}, nullptr, false);
  if (!outcome.completed) return Failure("");
  OurGlyphs ours{std::move(outcome.glyphs), {}};
  ours.pictures = glyphPictures(ours.glyphs, {});
  const bool blank = std::all_of(ours.pictures.begin(), ours.pictures.end(),
                                 [](const GlyphPicture& picture) { return picture.litCount() == 0; });
  if (blank) {
    return Failure((ours.pictures.size() == 1 ? "our glyph of " : "our glyphs of ") + shownText(ours.glyphs) +
                   (ours.pictures.size() == 1 ? " is" : " are") + " blank, so there is nothing to compare the bytes with");
  }
  return ours;
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
    return Failure("no bytes: give the glyphs' bytes after TEXT, or on standard input");
  }
  return bytes;
}

// Why `count` bytes cannot be TEXT's glyphs at this size: how many they take.
std::string countRefusal(std::size_t count, const OurGlyphs& ours) {
  const GlyphBytes wanted = glyphBytes(ours.pictures);
  const bool one = ours.pictures.size() == 1;
  return (count == 1 ? std::string("there is 1 byte") : "there are " + std::to_string(count) + " bytes") + ", but the " +
         (one ? "glyph of " : "glyphs of ") +
         shownText(ours.glyphs) + (one ? " takes " : " take ") + std::to_string(wanted.rowScans) + " at size " +
         ours.glyphs.cell.name() + " in the row scans (rows, row-bands) and " + std::to_string(wanted.columnScans) +
         " in the column scans (columns, column-bands)";
}

// The given bytes as glyph entries of TEXT's characters, a glyph's bytes in `layout` each.
std::vector<GlyphEntry> givenEntries(const OurGlyphs& ours, std::span<const std::uint8_t> bytes,
                                     const ByteLayout& layout) {
  std::vector<GlyphEntry> entries = glyphEntries(ours.glyphs);
  std::size_t offset = 0;
  for (GlyphEntry& entry : entries) {
    const std::size_t size = glyphSize(entry.dots, layout.scan);
    entry.bytes = bytes.subspan(offset, size);
    offset += size;
  }
  return entries;
}

// The layout, the bytes drawn as preview draws them in it, and the runner-up.
std::string report(const Detection& found, const OurGlyphs& ours, std::span<const std::uint8_t> bytes, bool ascii) {
  const std::vector<GlyphEntry> entries = givenEntries(ours, bytes, found.best.layout);
  std::string text = "layout: " + layoutOptions(found.best.layout) + "\n";
  text += terminalPicture(drawGlyphs(entries, found.best.layout), ascii ? kAsciiDots : kBlockDots,
                          isTerminal(stdout) ? terminalColumns() : 0);
  text += "misfit " + std::to_string(found.best.misfit) + " against our " + shownText(ours.glyphs) +
          " (0 would be dot for dot); runner-up " + layoutOptions(found.runnerUp.layout) + ", misfit " +
          std::to_string(found.runnerUp.misfit) + "\n";
  if (!found.best.alike.empty()) {
    const bool anyChinese = std::any_of(entries.begin(), entries.end(), [](const GlyphEntry& e) { return e.doubleByte; });
    text += entries.size() == 1 ? "the same picture in" : "the same pictures in";
    for (std::size_t i = 0; i < found.best.alike.size(); ++i) text += (i ? ", " : " ") + layoutOptions(found.best.alike[i]);
    text += ": the bytes of a character ";
    text += anyChinese ? "that is not symmetric" : "that is not symmetric, or of a Chinese one,";
    text += " tell them apart\n";
  }
  return text;
}

// Two layouts that fit nearly as well, which these bytes cannot tell apart, and what would.
std::string closeRace(const Detection& found) {
  return layoutOptions(found.best.layout) + " and " + layoutOptions(found.runnerUp.layout) +
         " fit the bytes almost equally well (misfit " + std::to_string(found.best.misfit) + " and " +
         std::to_string(found.runnerUp.misfit) + "); give the bytes of more characters" +
         (found.fewDots ? ", ones with more strokes" : "");
}

// Our glyphs and the bytes, or why the bytes cannot be judged; the reason is printed.
int judge(const DetectOptions& options, std::u16string_view text, const std::vector<TextCharacter>& characters) {
  const auto ours = ourGlyphs(text, characters, options.run);
  const auto bytes = ours ? givenBytes(options.bytes) : Result<std::vector<std::uint8_t>>(ours.error());
  if (!bytes) {
    if (!bytes.error().text.empty()) printError(bytes.error().text);
    return kExitFailed;
  }
  const GlyphBytes wanted = glyphBytes(ours->pictures);
  if (bytes->size() != wanted.rowScans && bytes->size() != wanted.columnScans) {
    printError(countRefusal(bytes->size(), *ours));
    return kExitFailed;
  }
  const auto found = detectLayout(*bytes, ours->pictures);
  if (!found || !found->clear) {
    printError(found ? closeRace(*found) : found.error().text);
    return kExitFailed;
  }
  return writeStdout(report(*found, *ours, *bytes, options.ascii)) ? kExitCompleted : kExitFailed;
}

int runDetect(CommandLine& line, const DetectOptions& options, Reach reach) {
  const std::u16string typed = utf8ToUtf16(options.text);
  const auto characters = textCharacters(typed);
  if (!characters) return line.usageError(characters.error().text);
  if (reach == Reach::checkOptions) return kExitCompleted;
  return judge(options, typed, *characters);
}

}  // namespace

int runDetectCommand(const std::vector<std::string>& args, Reach reach) {
  return parseAndRun<DetectOptions>(args, "lumadot-cli detect", kDescription, kFooter,
                                             [reach](CommandLine& line, const DetectOptions& options) {
                                               return runDetect(line, options, reach);
                                             });
}

}  // namespace lumadot::cli
