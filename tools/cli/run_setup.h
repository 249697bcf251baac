#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "arguments.h"
#include "font_file.h"
#include "serial_device.h"
#include "serial_transmission.h"

// What extract and clock share: where the fonts are, and how a run sends.
namespace lumadot::cli {

// A command's own options, then --font-dir and the send options, each send
// option standing for its box in the window.
std::vector<tools::KnownOption> withRunOptions(std::vector<tools::KnownOption> own);
// --speed, which the clock fixes, is left out when `withSpeed` is false.
std::string_view sendOptionsHelp(bool withSpeed);
std::string_view fontDirHelp();

FontPaths fontPaths(const tools::Arguments& parsed);
bool sends(const tools::Arguments& parsed);  // --send, or --frame-out which implies it
// The boxes start with the window's start texts; each option given replaces its box's text.
SendBoxes sendBoxes(const tools::Arguments& parsed);
// The port, or the --frame-out file standing in for it.
std::unique_ptr<SerialDevice> makeDevice(const tools::Arguments& parsed);

}  // namespace lumadot::cli
