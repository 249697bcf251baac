#include "options/run_options.h"

#include <CLI/CLI.hpp>
#include <filesystem>

#include "base/utf8_path.h"
#include "extract/text_codec.h"
#include "frame/display_frame.h"
#include "options/font_options.h"
#include "serial/port_names.h"

namespace lumadot {
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

void addFontDirOption(CLI::App& app, RunSettings& settings) {
  app.add_option("--font-dir", settings.fontDir,
                 "directory holding asc16 and hzk16, or ascN and\n"
                 "hzkN/gbkN for --size N (default: this program's\n"
                 "directory, else ../share/lumadot beside it)")
      ->type_name("DIR");
  addFontOptions(app, settings.font);
}

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

}  // namespace lumadot
