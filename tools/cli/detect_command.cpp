#include "cli/detect_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <variant>

#include "cli/console.h"
#include "cli/console_runner.h"
#include "options/layout_options.h"
#include "extract/ansi_code.h"
#include "extract/character_walk.h"
#include "extract/detect_verdict.h"
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

int failed(const std::string& text) {
  printError(text);
  return kExitFailed;
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
Result<void> judgeable(std::u16string_view text, const RunSettings& settings) {
  // A font drawn from (--font) has no grid and no end to fall short of; the run names what it lacks.
  for (const UndrawnCharacter& undrawn : undrawnCharacters(text, fontSizes(fontPaths(settings)))) {
    if (!settings.font.rendered() || undrawn.why == Undrawn::questionMark) {
      return Failure("our fonts have no glyph for " + lineSafeCharacter(undrawn.character) +
                     " to compare the bytes with");
    }
  }
  if (const auto symbol = judgeCharacters(text)) {
    return Failure(utf16ToUtf8(symbol->character) + " is not a Chinese character; symbols differ too much from font to "
                   "font to tell a layout by: give the bytes of Chinese characters, such as 国");
  }
  return {};
}

// Our glyphs of TEXT, or the exit status once why there are none is printed.
std::variant<OurGlyphs, int> ourGlyphs(std::u16string_view text, const RunSettings& settings) {
  if (auto refusal = judgeable(text, settings); !refusal) return failed(refusal.error().text);
  ConsoleRunner runner(settings, localeDecimalSeparator());
  // A font that cannot be read: the runner has said so.
  auto outcome = runner.run(text, {}, nullptr, false);
  if (!outcome.completed) return kExitFailed;
  OurGlyphs ours{std::move(outcome.glyphs), {}};
  ours.pictures = glyphPictures(ours.glyphs, {});
  // Before the bytes are read, as the characters were judged before the fonts.
  if (allBlank(ours.pictures)) {
    return failed((ours.pictures.size() == 1 ? "our glyph of " : "our glyphs of ") + shownText(ours.glyphs) +
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
std::string countRefusal(const ByteVerdict& verdict, const OurGlyphs& ours) {
  const bool one = ours.pictures.size() == 1;
  const std::size_t count = verdict.given;
  return (count == 1 ? std::string("there is 1 byte") : "there are " + std::to_string(count) + " bytes") + ", but the " +
         (one ? "glyph of " : "glyphs of ") + shownText(ours.glyphs) + (one ? " takes " : " take ") +
         std::to_string(verdict.wanted.rowScans) + " at size " + ours.glyphs.cell.name() +
         " in the row scans (rows, row-bands) and " + std::to_string(verdict.wanted.columnScans) +
         " in the column scans (columns, column-bands)";
}

// The layout, the bytes drawn as preview draws them in it, and the runner-up.
std::string report(const Detection& found, std::u16string_view characters, const OurGlyphs& ours,
                   std::span<const std::uint8_t> bytes, bool ascii) {
  const Glyphs given = givenGlyphs(characters, ours.pictures, bytes, found.best.layout);
  const std::vector<GlyphEntry> entries = glyphEntries(given);
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
int judge(const DetectOptions& options, std::u16string_view text) {
  const auto made = ourGlyphs(text, options.run);
  if (const int* exit = std::get_if<int>(&made)) return *exit;
  const OurGlyphs& ours = std::get<OurGlyphs>(made);
  const auto bytes = givenBytes(options.bytes);
  if (!bytes) return failed(bytes.error().text);
  const ByteVerdict verdict = judgeBytes(*bytes, ours.pictures);
  switch (verdict.kind) {
    case ByteVerdict::Kind::wrongCount: return failed(countRefusal(verdict, ours));
    case ByteVerdict::Kind::unjudgeable: return failed(verdict.reason);
    case ByteVerdict::Kind::closeRace: return failed(closeRace(*verdict.detection));
    case ByteVerdict::Kind::found: break;
    // Refused above, before the bytes were read.
    case ByteVerdict::Kind::symbol:
    case ByteVerdict::Kind::blank: return kExitFailed;
  }
  return writeStdout(report(*verdict.detection, text, ours, *bytes, options.ascii)) ? kExitCompleted : kExitFailed;
}

int runDetect(CommandLine& line, const DetectOptions& options, Reach reach) {
  const std::u16string typed = utf8ToUtf16(options.text);
  const auto characters = textCharacters(typed);
  if (!characters) return line.usageError(characters.error().text);
  if (reach == Reach::checkOptions) return kExitCompleted;
  return judge(options, typed);
}

}  // namespace

int runDetectCommand(const std::vector<std::string>& args, Reach reach) {
  return parseAndRun<DetectOptions>(args, "lumadot-cli detect", kDescription, kFooter,
                                             [reach](CommandLine& line, const DetectOptions& options) {
                                               return runDetect(line, options, reach);
                                             });
}

}  // namespace lumadot::cli
