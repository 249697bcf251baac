#include "cli/console_runner.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "base/utf8_path.h"
#include "cli/console.h"
#include "extract/font_location.h"
#include "extract/text_codec.h"
#include "extract/undrawn_characters.h"
#include "fonts/rendered_glyphs.h"
#include "frame/display_frame.h"
#include "run/extraction_run.h"
#include "serial/frame_file.h"
#include "serial/port_names.h"
#include "serial/system_serial.h"

namespace lumadot::cli {
namespace {

const std::string kSendSection = "Sending to the sign (\"取模并发送\")";

// An option that stands for one of the window's send boxes: its value is read
// by that box's rule into `field`, and one the box would refuse is a usage
// error, `allowed` saying what it takes.
template <class T, class Parse>
void addBoxOption(CLI::App& app, const std::string& name, const std::string& value, T& field, Parse parse,
                  const std::string& allowed, const std::string& help, const std::string& section = kSendSection) {
  app.add_option_function<std::string>(
         name, [&field, parse](const std::string& text) { field = static_cast<T>(*parse(utf8ToUtf16(text))); }, help)
      ->type_name(value)
      ->group(section)
      ->check(CLI::Validator(
          [name, allowed, parse](std::string& text) {
            return parse(utf8ToUtf16(text)) ? std::string() : name + " takes " + allowed + ", not '" + text + "'";
          },
          ""));
}

std::unique_ptr<SerialDevice> makeDevice(const RunSettings& settings) {
  if (!settings.frameOut.empty()) return std::make_unique<FrameFile>(pathFromUtf8(settings.frameOut));
  return makeSystemSerialDevice();
}

// One warning line for each kind of character the run cannot draw as typed.
std::vector<std::string> undrawnNotes(std::u16string_view text, const RunFonts& runFonts) {
  const FontPaths& fonts = runFonts.paths();
  const FontSizes sizes = fontSizes(fonts);
  const auto undrawn = runFonts.undrawn(text);
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
  };
  std::vector<std::string> notes;
  for (const auto& [why, what] : kinds) {
    if (const std::string names = namedCharacters(undrawn, why); !names.empty()) notes.push_back("warning: " + names + what);
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

std::string namedCharacters(const std::vector<std::u16string_view>& characters) {
  constexpr std::size_t kMostNamed = 20;
  std::string names;
  for (std::size_t i = 0; i < std::min(characters.size(), kMostNamed); ++i) {
    // A control character would act on the terminal instead of being seen.
    names += (names.empty() ? "" : " ") + lineSafeCharacter(characters[i]);
  }
  if (characters.size() > kMostNamed) names += " and " + std::to_string(characters.size() - kMostNamed) + " more";
  return names;
}

std::string namedCharacters(const std::vector<char32_t>& characters) {
  std::vector<std::u16string> texts;
  for (const char32_t c : characters) appendUtf16(texts.emplace_back(), c);
  return namedCharacters(std::vector<std::u16string_view>(texts.begin(), texts.end()));
}

std::string namedCharacters(const std::vector<UndrawnCharacter>& undrawn, Undrawn why) {
  std::vector<std::u16string_view> characters;
  for (const UndrawnCharacter& c : undrawn) {
    if (c.why == why) characters.push_back(c.character);
  }
  return namedCharacters(characters);
}

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

void addFontDirOption(CLI::App& app, RunSettings& settings) {
  app.add_option("--font-dir", settings.fontDir,
                 "directory holding asc16 and hzk16, or ascN and\n"
                 "hzkN/gbkN for --size N (default: this program's\n"
                 "directory, else ../share/lumadot beside it)")
      ->type_name("DIR");
  addFontOptions(app, settings.font);
}

namespace {

std::u16string devicePortText(const std::string& path) {
  const std::u16string given = utf8ToUtf16(path);
  if (portChoice(given)) return given;
  // A relative path would name no port in the box; the messages then show where it leads.
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? given : utf8ToUtf16(utf8Path(absolute));
}

void choosePort(SendRequest& request, std::u16string name) {
  request.port = portChoice(name).value_or(PortChoice{0, utf16ToUtf8(name)});
  request.portName = std::move(name);
}

// --port COM1 is com1 on every system, named so in the messages; else a path, as the box takes it.
std::optional<std::u16string> portOptionName(const std::string& given) {
  const std::u16string name = utf8ToUtf16(given);
  if (const auto number = portNumberAnyCase(name)) return portName(*number);
  if (portChoice(name)) return name;
  return std::nullopt;
}

}  // namespace

void addPortOptions(CLI::App& app, SendRequest& request, const std::string& section) {
  app.add_option_function<std::string>(
         "--port", [&request](const std::string& name) { choosePort(request, *portOptionName(name)); },
         "com1 to com16 (default com1), COM1 as com1; see\n"
         "'lumadot-cli ports' for the device each stands for,\n"
         "and LUMADOT_COMn to choose it (LUMADOT_COM1=/dev/ttyUSB0)")
      ->type_name("comN")
      ->group(section)
      ->check(CLI::Validator(
          [](std::string& name) {
            return portOptionName(name) ? std::string() : "--port takes com1 to com16, not '" + name + "'";
          },
          ""));
  app.add_option_function<std::string>(
         "--device", [&request](const std::string& path) { choosePort(request, devicePortText(path)); },
         "the serial device at PATH instead of a comN\n"
         "(/dev/ttyUSB0; COM7 or \\\\.\\COM12 on Windows)")
      ->type_name("PATH")
      ->group(section)
      ->excludes("--port");
  LineSettings& line = request.line;
  addBoxOption(app, "--baud", "N", line.baud, parseBaud, "a whole number from 1 to 2147483647",
               "baud rate (default 9600)", section);
  addBoxOption(app, "--parity", "E|M|N|O|S", line.parity, parseParity, "E, M, N, O or S",
               "E even, M mark, N none, O odd, S space (default E)", section);
  addBoxOption(app, "--data-bits", "N", line.dataBits, parseDataBits, "5, 6, 7 or 8", "5 to 8 (default 8)",
               section);
  addBoxOption(app, "--stop-bits", "N", line.stopBits, parseStopBits, "1, 1.5 or 2", "1, 1.5 or 2 (default 1)",
               section);
}

void addEffectOptions(CLI::App& app, SendRequest& request, const std::string& section) {
  addBoxOption(app, "--speed", "N", request.speed, speedByte, "1 to 10", "display speed 1 to 10 (default 5)", section);
  addBoxOption(app, "--mode", "MODE", request.mode, modeByte, "静止, 左移, 右移, 上移, 下移 or 闪烁",
               "静止 (default), 左移, 右移, 上移, 下移 or 闪烁", section);
}

void addSendOptions(CLI::App& app, RunSettings& settings) {
  app.add_flag("--send", settings.send, "also send the display frame over the serial port")->group(kSendSection);
  SendRequest& request = settings.request;
  addPortOptions(app, request, kSendSection);
  addEffectOptions(app, request, kSendSection);
  app.add_option("--frame-out", settings.frameOut,
                 "write the frame to FILE instead of a port: the same\n"
                 "bytes, no port needed (implies --send)")
      ->type_name("FILE")
      ->group(kSendSection);
}

Result<void> requireSendForBoxOptions(const CLI::App& app, const RunSettings& settings) {
  if (settings.sends()) return {};
  const auto given = app.get_options([](const CLI::Option* option) {
    return option->get_group() == kSendSection && option->count() > 0 && option->get_name() != "--send";
  });
  if (given.empty()) return {};
  return Failure(given.front()->get_name() + " is of use only when sending: add --send (or --frame-out FILE)");
}

void addTextOptions(CLI::App& app, TextInput& input, const std::string& help) {
  CLI::Option* text = app.add_option("TEXT", input.texts, help);
  app.add_option("--text-file", input.file, "read the text from FILE instead of standard input")
      ->type_name("FILE")
      ->excludes(text);
  addEncodingOption(app, input.encoding, "the text file or standard input");
}

void addEncodingOption(CLI::App& app, std::optional<TextEncoding>& encoding, const std::string& read) {
  app.add_option_function<std::string>(
         "--encoding", [&encoding](const std::string& name) { encoding = encodingNamed(name); },
         "the encoding of " + read + ":\n" + std::string(encodingNameList()) +
             "\n(default: utf-8, or utf-16 after its byte order mark)")
      ->type_name("NAME")
      ->check(CLI::Validator(
          [](std::string& name) {
            return encodingNamed(name) ? std::string()
                                       : "unknown encoding '" + name + "'; choose " + std::string(encodingNameList());
          },
          ""));
}

namespace {

std::string upperCase(std::string_view name) {
  std::string upper(name);
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return upper;
}

std::string decodeFailureText(const std::string& source, const DecodeFailure& failure) {
  const std::string encoding = upperCase(encodingName(failure.encoding));
  const std::string offset = " at offset " + std::to_string(failure.offset);
  std::string text;
  if (failure.nul) {
    text = source + " holds a NUL" + offset +
           (failure.encoding == TextEncoding::utf8 ? "" : " read as " + encoding) + ", which no typed text holds";
  } else {
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", failure.byte);
    text = source + " is not valid " + encoding + ": byte " + byte + offset;
  }
  if (failure.likely) {
    text += "; it reads as " + upperCase(encodingName(*failure.likely)) + ": add --encoding " +
            std::string(encodingName(*failure.likely));
  }
  return text + "; nothing was extracted";
}

}  // namespace

Result<std::string> runText(const TextInput& input) {
  if (!input.texts.empty()) return input.texts.front();
  Result<std::string> bytes = std::string();
  if (!input.file.empty()) {
    bytes = readWholeFile(input.file, kMaxStdinBytes);
  } else {
    if (isTerminal(stdin)) std::cerr << "Reading the text from standard input; end it with Ctrl+D.\n";
    bytes = readAllStdin();
  }
  if (!bytes) return bytes.error();
  auto decoded = decodedText(*bytes, input.file.empty() ? "standard input" : input.file, input.encoding);
  if (!decoded) return decoded;
  return typedText(*decoded);
}

Result<std::string> decodedText(std::string_view bytes, const std::string& source,
                                std::optional<TextEncoding> encoding) {
  auto decoded = decodeText(bytes, encoding);
  if (const auto* failure = std::get_if<DecodeFailure>(&decoded)) return Failure(decodeFailureText(source, *failure));
  return std::get<std::string>(std::move(decoded));
}

std::string typedText(std::string_view piped) {
  std::string typed;
  typed.reserve(piped.size() + piped.size() / 8);
  for (std::size_t i = 0; i < piped.size(); ++i) {
    if (piped[i] == '\n' && (i == 0 || piped[i - 1] != '\r')) typed += '\r';
    typed += piped[i];
  }
  return typed;
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
  for (const std::string& note : undrawnNotes(text, m_fonts)) tellOnce(note);
  RenderedGlyphs* rendered = m_fonts.rendered();
  if (!rendered) return runExtraction(text, layout, m_fonts.paths(), target);
  RunReport report = runExtraction(text, layout, *rendered, target);
  if (const std::string names = namedCharacters(rendered->missing()); !names.empty()) {
    tellOnce("warning: " + names + ": not in " + m_fonts.fontFile() + "; each comes out blank");
  }
  if (const std::size_t scaled = rendered->scaled(); scaled > 0) {
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
