#include "cli/console_runner.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/console.h"
#include "extract/glyph_buffer.h"
#include "extract/program_directory.h"
#include "extract/text_codec.h"
#include "serial/frame_file.h"
#include "serial/qt_serial_device.h"

namespace lumadot::cli {
namespace {

const std::string kSendSection = "Sending to the sign (\"取模并发送\")";

// An option that stands for one of the window's send boxes and fills it.
void addBoxOption(CLI::App& app, const std::string& name, const std::string& value, std::u16string& box,
                  const std::string& help) {
  app.add_option_function<std::string>(
         name, [&box](const std::string& text) { box = utf8ToUtf16(text); }, help)
      ->type_name(value)
      ->group(kSendSection);
}

FontPaths fontPaths(const RunSettings& settings) {
  return FontPaths::inDirectory(settings.fontDir.empty() ? programDirectory()
                                                         : std::filesystem::path(settings.fontDir));
}

std::unique_ptr<SerialDevice> makeDevice(const RunSettings& settings) {
  if (!settings.frameOut.empty()) return std::make_unique<FrameFile>(settings.frameOut);
  return std::make_unique<QtSerialDevice>();
}

}  // namespace

void addFontDirOption(CLI::App& app, RunSettings& settings) {
  app.add_option("--font-dir", settings.fontDir,
                 "directory holding asc16 and hzk16\n"
                 "(default: the directory of this program)")
      ->type_name("DIR");
}

void addSendOptions(CLI::App& app, RunSettings& settings) {
  app.add_flag("--send", settings.send, "also send the display frame over the serial port")->group(kSendSection);
  SendBoxes& boxes = settings.boxes;
  addBoxOption(app, "--port", "comN", boxes.port,
               "com1 to com16 (default com1); see 'lumadot-cli ports'\n"
               "for the device each stands for, and LUMADOT_COMn to\n"
               "choose it (LUMADOT_COM1=/dev/ttyUSB0)");
  addBoxOption(app, "--baud", "N", boxes.baud, "baud rate (default 9600)");
  addBoxOption(app, "--parity", "E|M|N|O|S", boxes.parity, "E even, M mark, N none, O odd, S space (default E)");
  addBoxOption(app, "--data-bits", "N", boxes.dataBits, "5 to 8 (default 8)");
  addBoxOption(app, "--stop-bits", "N", boxes.stopBits, "1, 1.5 or 2 (default 1)");
  addBoxOption(app, "--speed", "N", boxes.speed, "display speed 1 to 10 (default 5)");
  addBoxOption(app, "--mode", "MODE", boxes.mode, "静止 (default), 左移, 右移, 上移, 下移 or 闪烁");
  app.add_option("--frame-out", settings.frameOut,
                 "write the frame to FILE instead of a port: the same\n"
                 "bytes, no port needed (implies --send)")
      ->type_name("FILE")
      ->group(kSendSection);
}

std::string runText(const std::vector<std::string>& texts) {
  if (!texts.empty()) return texts.front();
  if (isTerminal(stdin)) std::cerr << "Reading the text from standard input; end it with Ctrl+D.\n";
  return readAllStdin();
}

ConsoleRunner::ConsoleRunner(const RunSettings& settings, std::u16string decimalSeparator)
    : m_fonts(fontPaths(settings)),
      m_device(makeDevice(settings)),
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
  if (printListing) outcome.listingWritten = writeStdout(utf16ToUtf8(hooks.listing()) + std::string(afterListing));
  return outcome;
}

}  // namespace lumadot::cli
