#include "cli/console_runner.h"

#include <filesystem>

#include "base/utf8_path.h"
#include "cli/character_names.h"
#include "cli/console.h"
#include "extract/font_location.h"
#include "extract/text_codec.h"
#include "fonts/rendered_glyphs.h"
#include "run/extraction_run.h"
#include "run/undrawn_report.h"
#include "serial/frame_file.h"
#include "serial/system_serial.h"

namespace lumadot::cli {
namespace {

std::unique_ptr<SerialDevice> makeDevice(const RunSettings& settings) {
  if (!settings.frameOut.empty()) return std::make_unique<FrameFile>(pathFromUtf8(settings.frameOut));
  return makeSystemSerialDevice();
}

// One warning line for each kind of character the run cannot draw as typed.
std::vector<std::string> undrawnNotes(const UndrawnReport& undrawn, const RunFonts& runFonts) {
  const FontPaths& fonts = runFonts.paths();
  const FontSizes sizes = fontSizes(fonts);
  const auto shortFont = [](const std::filesystem::path& path, std::uint64_t size, std::size_t whole) {
    return ": past the end of " + utf8Path(path) + ", which holds only " + std::to_string(size) + " of its " +
           std::to_string(whole) + " bytes; each comes out blank";
  };
  const std::pair<Undrawn, std::string> kinds[] = {
      {Undrawn::questionMark, ": not in code page 936 (GBK); each comes out as \"?\""},
      {Undrawn::outsideGrid, ": outside the GB2312 grid of " + utf8Path(fonts.hzk16.filename()) +
                                 "; each comes out blank (--charset gbk has a place for every one)"},
      {Undrawn::pastAsc16End, shortFont(fonts.asc16, sizes.asc16, singleByteFileSize(fonts.cell))},
      {Undrawn::pastHzk16End, shortFont(fonts.hzk16, sizes.hzk16, doubleByteFileSize(fonts.cell, fonts.charset))},
      {Undrawn::notInFont, ": not in " + runFonts.fontFile() + "; each comes out blank"},
  };
  std::vector<std::string> notes;
  for (const auto& [why, what] : kinds) {
    if (const std::string names = namedCharacters(undrawn.only(why)); !names.empty()) {
      notes.push_back("warning: " + names + what);
    }
  }
  return notes;
}

// Font files of another size are built, not shipped: say how to get them.
void printSizeHint(const FontPaths& fonts, bool rendered) {
  std::error_code error;
  if (rendered || fonts.cell == CellSize{} ||
      (std::filesystem::exists(fonts.asc16, error) && std::filesystem::exists(fonts.hzk16, error))) {
    return;
  }
  printError("hint: build " + utf8Path(fonts.asc16.filename()) + " and " + utf8Path(fonts.hzk16.filename()) +
             " with 'lumadot-mkfont --size " + fonts.cell.name() +
             (fonts.charset == Charset::gbk ? " --charset gbk" : "") +
             " --font FILE', or draw the glyphs straight from a font with --font FILE");
}

}  // namespace

RunFonts fontsOf(const RunSettings& settings) {
  return RunFonts(pathFromUtf8(settings.fontDir), settings.font, programDirectory());
}

void printLookUpFailure(const Failure& failure, const RunFonts& fonts) {
  printFailure(failure);
  printSizeHint(fonts.paths(), fonts.rendered() != nullptr);
}

FontPaths fontPaths(const RunSettings& settings) {
  return locateFonts(pathFromUtf8(settings.fontDir), programDirectory(), settings.font.cell, settings.font.charset);
}

ConsoleRunner::ConsoleRunner(const RunSettings& settings, std::u16string decimalSeparator)
    : m_fonts(fontsOf(settings)),
      m_frameOut(settings.frameOut),
      m_device(makeDevice(settings)),
      m_decimalSeparator(std::move(decimalSeparator)) {}

ConsoleRunner::~ConsoleRunner() = default;

void ConsoleRunner::tellOnce(const std::string& note) {
  if (m_told.insert(note).second) printError(note);  // a clock's sentence would repeat them every tick
}

// The run's glyphs from the font files, or drawn from --font, with a warning
// for what either cannot draw as typed.
RunReport ConsoleRunner::extract(std::u16string_view text, const ByteLayout& layout, SendTarget* target) {
  RenderedGlyphs* rendered = m_fonts.rendered();
  RunReport report = rendered ? runExtraction(text, layout, *rendered, target)
                              : runExtraction(text, layout, m_fonts.paths(), target);
  for (const std::string& note : undrawnNotes(undrawnReport(text, m_fonts), m_fonts)) tellOnce(note);
  if (const std::size_t scaled = rendered ? rendered->scaled() : 0; scaled > 0) {
    tellOnce("note: " + std::to_string(scaled) + (scaled == 1 ? " glyph was" : " glyphs were") +
             " larger than the cell and scaled to fit");
  }
  return report;
}

ConsoleRunner::Outcome ConsoleRunner::run(std::u16string_view text, const ByteLayout& layout,
                                          const SendRequest* request, bool printListing, std::string_view afterListing) {
  if (m_fonts.failure()) {
    printFailure(*m_fonts.failure());
    return {};
  }
  std::optional<SendTarget> target;
  if (request) target.emplace(SendTarget{*request, *m_device, nullptr, m_decimalSeparator});
  return shown(extract(text, layout, target ? &*target : nullptr), printListing, afterListing);
}

ConsoleRunner::Outcome ConsoleRunner::run(Result<Glyphs> glyphs, const SendRequest* request, bool printListing,
                                          std::string_view afterListing) {
  std::optional<SendTarget> target;
  if (request) target.emplace(SendTarget{*request, *m_device, nullptr, m_decimalSeparator});
  return shown(runExtraction(std::move(glyphs), target ? &*target : nullptr), printListing, afterListing);
}

ConsoleRunner::Outcome ConsoleRunner::shown(RunReport report, bool printListing, std::string_view afterListing) {
  if (report.failure) {
    printLookUpFailure(*report.failure, m_fonts);
  } else if (!report.sentConfirmation.empty() && !m_frameOut.empty()) {
    printError("wrote " + std::to_string(report.frame.size()) + " bytes to " + m_frameOut);
  } else if (!report.sentConfirmation.empty()) {
    printMessage(noticeMessage(report.sentConfirmation));
  }
  Outcome outcome{report.completed(), true, std::move(report.glyphs)};
  if (printListing) {
    outcome.listingWritten =
        writeStdout(encodedText(utf16ToUtf8(report.resultText()) + std::string(afterListing), m_listingEncoding));
  }
  return outcome;
}

}  // namespace lumadot::cli
