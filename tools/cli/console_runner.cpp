#include "cli/console_runner.h"

#include <iostream>

#include "cli/console.h"
#include "extract/glyph_buffer.h"
#include "extract/program_directory.h"
#include "extract/text_codec.h"
#include "serial/frame_file.h"
#include "serial/qt_serial_device.h"

namespace lumadot::cli {

std::vector<tools::KnownOption> withRunOptions(std::vector<tools::KnownOption> own) {
  own.insert(own.end(), {{"--font-dir", true},
                         {"--send"},
                         {"--port", true},
                         {"--baud", true},
                         {"--parity", true},
                         {"--data-bits", true},
                         {"--stop-bits", true},
                         {"--speed", true},
                         {"--mode", true},
                         {"--frame-out", true}});
  return own;
}

std::string_view fontDirHelp() {
  return "  --font-dir DIR  directory holding asc16 and hzk16\n"
         "                  (default: the directory of this program)\n";
}

std::string_view sendOptionsHelp(bool withSpeed) {
  static constexpr std::string_view kBeforeSpeed =
      "Sending to the sign (\"取模并发送\"):\n"
      "  --send            also send the display frame over the serial port\n"
      "  --port comN       com1 to com16 (default com1); see 'lumadot-cli ports'\n"
      "                    for the device each stands for, and LUMADOT_COMn to\n"
      "                    choose it (LUMADOT_COM1=/dev/ttyUSB0)\n"
      "  --baud N          baud rate (default 9600)\n"
      "  --parity P        E even, M mark, N none, O odd, S space (default E)\n"
      "  --data-bits N     5 to 8 (default 8)\n"
      "  --stop-bits N     1, 1.5 or 2 (default 1)\n";
  static constexpr std::string_view kSpeed = "  --speed N         display speed 1 to 10 (default 5)\n";
  static constexpr std::string_view kAfterSpeed =
      "  --mode MODE       静止 (default), 左移, 右移, 上移, 下移 or 闪烁\n"
      "  --frame-out FILE  write the frame to FILE instead of a port: the same\n"
      "                    bytes, no port needed (implies --send)\n";
  static const std::string withIt = std::string(kBeforeSpeed) + std::string(kSpeed) + std::string(kAfterSpeed);
  static const std::string withoutIt = std::string(kBeforeSpeed) + std::string(kAfterSpeed);
  return withSpeed ? withIt : withoutIt;
}

std::string runText(const tools::Arguments& parsed) {
  if (!parsed.positionals().empty()) return parsed.positionals().front();
  if (isTerminal(stdin)) std::cerr << "Reading the text from standard input; end it with Ctrl+D.\n";
  return readAllStdin();
}

bool sends(const tools::Arguments& parsed) { return parsed.has("--send") || parsed.value("--frame-out"); }

SendBoxes sendBoxes(const tools::Arguments& parsed) {
  SendBoxes boxes;
  const std::pair<std::string_view, std::u16string*> fields[] = {
      {"--port", &boxes.port},          {"--baud", &boxes.baud},          {"--parity", &boxes.parity},
      {"--data-bits", &boxes.dataBits}, {"--stop-bits", &boxes.stopBits}, {"--speed", &boxes.speed},
      {"--mode", &boxes.mode}};
  for (const auto& [option, field] : fields) {
    if (const auto value = parsed.value(option)) *field = utf8ToUtf16(*value);
  }
  return boxes;
}

namespace {

FontPaths fontPaths(const tools::Arguments& parsed) {
  const auto fontDir = parsed.value("--font-dir");
  return FontPaths::inDirectory(fontDir ? std::filesystem::path(*fontDir) : programDirectory());
}

std::unique_ptr<SerialDevice> makeDevice(const tools::Arguments& parsed) {
  if (const auto frameOut = parsed.value("--frame-out")) return std::make_unique<FrameFile>(*frameOut);
  return std::make_unique<QtSerialDevice>();
}

}  // namespace

ConsoleRunner::ConsoleRunner(const tools::Arguments& parsed, std::u16string decimalSeparator)
    : m_fonts(fontPaths(parsed)),
      m_device(makeDevice(parsed)),
      m_buffer(std::make_unique<GlyphBuffer>()),
      m_decimalSeparator(std::move(decimalSeparator)) {}

ConsoleRunner::~ConsoleRunner() = default;

ConsoleRunner::Outcome ConsoleRunner::run(std::u16string_view text, const RunOptions& options,
                                          const SendBoxes& boxes, bool printListing, std::string_view afterListing) {
  ConsoleHooks hooks;
  // Without sending the run only selects the port, which opens nothing.
  SerialTransmission transmission(*m_device, boxes, m_decimalSeparator);
  Outcome outcome;
  outcome.completed = runExtraction(text, options, m_fonts, *m_buffer, transmission, hooks).completed;
  if (!m_device->error().empty()) printError(m_device->error());
  if (printListing) outcome.listingWritten = writeStdout(utf16ToUtf8(hooks.listing()) + std::string(afterListing));
  return outcome;
}

}  // namespace lumadot::cli
