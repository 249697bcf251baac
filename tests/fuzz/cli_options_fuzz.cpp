// lumadot-cli's command line, every command and option, over any arguments:
// parsed and checked as the program does, stopping before anything is read,
// written or sent.

#include "cli/commands.h"
#include "fuzz/command_line_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lumadot::fuzz::checkCommandLine(data, size, lumadot::cli::runCommandLine);
  return 0;
}
