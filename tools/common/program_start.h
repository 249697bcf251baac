#pragma once

// How both programs start, the same on every system: their arguments in
// UTF-8 and standard streams that carry bytes unchanged. Windows hands a
// program its arguments in the narrow code page (中 arrives as "?") and a
// console shows UTF-8 written byte-wise as garbage, so there the arguments
// are taken from the wide command line and text bound for a console goes
// out through WriteConsoleW. Pipes and files get the bytes as they are.

#include <string>
#include <string_view>
#include <vector>

namespace lumadot::tools {

// The arguments after the program's name, in UTF-8.
std::vector<std::string> programArguments(int argc, char** argv);

// Binary standard streams, and std::cout and std::cerr through the console
// where they are one. Call once, before anything is written.
void setUpStandardStreams();

// Whether standard output is a Windows console, which takes text through
// writeToConsole rather than bytes (never on other systems).
bool standardOutputIsConsole();
bool writeToConsole(std::string_view utf8);

}  // namespace lumadot::tools
