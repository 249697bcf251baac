#include "extract_command.h"

#include <iostream>
#include <memory>

#include "arguments.h"
#include "console.h"
#include "extraction_run.h"
#include "frame_file.h"
#include "program_directory.h"
#include "qt_serial_device.h"
#include "serial_access.h"
#include "serial_transmission.h"
#include "text_codec.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kUsage =
    "Usage: lumadot-cli extract [--reverse] [--split] [--font-dir DIR]\n"
    "                           [--send [--port comN] [--baud N] [--parity E|M|N|O|S]\n"
    "                            [--data-bits N] [--stop-bits N] [--speed N] [--mode MODE]]\n"
    "                           [--frame-out FILE] [TEXT]\n";

constexpr std::string_view kHelp =
    "\n"
    "Looks every character of TEXT up in the font files asc16 (8x16 dots) and\n"
    "hzk16 (16x16 dots, GB2312) and prints the glyph bytes as an 8051 assembler\n"
    "listing, exactly as the desktop program's result box shows it (UTF-8,\n"
    "CR LF line breaks, ending with the credit block).\n"
    "\n"
    "Options:\n"
    "  --reverse       \"字节倒序\": reverse the bit order of every glyph byte\n"
    "  --split         \"8*16格式\": store each Chinese glyph as two 8x16 halves,\n"
    "                  the left half of all 16 rows first\n"
    "  --font-dir DIR  directory holding asc16 and hzk16\n"
    "                  (default: the directory of this program)\n"
    "  -h, --help      show this help\n"
    "\n"
    "Sending to the sign (\"取模并发送\"):\n"
    "  --send            also send the display frame over the serial port\n"
    "  --port comN       com1 to com16 (default com1); see 'lumadot-cli ports'\n"
    "                    for the device each stands for, and LUMADOT_COMn to\n"
    "                    choose it (LUMADOT_COM1=/dev/ttyUSB0)\n"
    "  --baud N          baud rate (default 9600)\n"
    "  --parity P        E even, M mark, N none, O odd, S space (default E)\n"
    "  --data-bits N     5 to 8 (default 8)\n"
    "  --stop-bits N     1, 1.5 or 2 (default 1)\n"
    "  --speed N         display speed 1 to 10 (default 5)\n"
    "  --mode MODE       静止 (default), 左移, 右移, 上移, 下移 or 闪烁\n"
    "  --frame-out FILE  write the frame to FILE instead of a port: the same\n"
    "                    bytes, no port needed (implies --send)\n"
    "\n"
    "Without TEXT the whole of standard input is read as UTF-8, every byte kept:\n"
    "a CR LF line break is skipped, as in the desktop program's input box.\n"
    "Put -- before a TEXT that starts with '-'.\n"
    "\n"
    "Messages go to standard error, one line each: title, then text.\n"
    "Exit status: 0 the run completed, 1 the run failed, 2 usage error.\n";

const std::vector<tools::OptionSpec> kOptions{
    {"--reverse"}, {"--split"},          {"--font-dir", true},  {"--help"},          {"--send"},
    {"--port", true}, {"--baud", true},  {"--parity", true},    {"--data-bits", true}, {"--stop-bits", true},
    {"--speed", true}, {"--mode", true}, {"--frame-out", true}};

// Each option stands for its box in the window and starts with its start text.
SendBoxes sendBoxes(const tools::Arguments& parsed) {
  SendBoxes boxes;
  const std::pair<std::string_view, std::u16string*> fields[] = {
      {"--port", &boxes.port},           {"--baud", &boxes.baud},   {"--parity", &boxes.parity},
      {"--data-bits", &boxes.dataBits},  {"--stop-bits", &boxes.stopBits}, {"--speed", &boxes.speed},
      {"--mode", &boxes.mode}};
  for (const auto& [option, field] : fields) {
    if (const auto value = parsed.value(option)) *field = utf8ToUtf16(*value);
  }
  return boxes;
}

int usageError(const std::string& what) {
  printError(what);
  std::cerr << kUsage << "Try 'lumadot-cli extract --help'.\n";
  return kExitUsage;
}

}  // namespace

int runExtractCommand(const std::vector<std::string>& args) {
  tools::Arguments parsed;
  if (const auto error = parsed.parse(args, kOptions)) {
    return usageError(*error);
  }
  if (parsed.has("--help")) {
    std::cout << kUsage << kHelp << std::flush;
    return kExitCompleted;
  }
  if (parsed.positionals().size() > 1) {
    return usageError("extract takes one TEXT; put quotes around text with spaces");
  }

  std::string input;
  if (parsed.positionals().empty()) {
    if (stdinIsTerminal()) std::cerr << "Reading the text from standard input; end it with Ctrl+D.\n";
    input = readAllStdin();
  } else {
    input = parsed.positionals().front();
  }

  const auto frameOut = parsed.value("--frame-out");
  const RunOptions options{parsed.has("--reverse"), parsed.has("--split"), parsed.has("--send") || frameOut};
  const auto fontDir = parsed.value("--font-dir");
  const FontPaths fonts = FontPaths::inDirectory(fontDir ? std::filesystem::path(*fontDir) : programDirectory());

  auto buffer = std::make_unique<GlyphBuffer>();
  ConsoleHooks hooks;
  // Without sending the run only selects the port, which opens nothing.
  std::unique_ptr<SerialDevice> device;
  if (frameOut) {
    device = std::make_unique<FrameFile>(std::filesystem::path(*frameOut));
  } else {
    device = std::make_unique<QtSerialDevice>();
  }
  SerialTransmission transmission(*device, sendBoxes(parsed), localeDecimalSeparator());
  const RunResult result = runExtraction(utf8ToUtf16(input), options, fonts, *buffer, transmission, hooks);
  if (!device->error().empty()) printError(device->error());
  if (!writeStdout(utf16ToUtf8(hooks.listing()))) return kExitFailed;
  return result.completed ? kExitCompleted : kExitFailed;
}

}  // namespace lumadot::cli
