// lumadot-mkfont's command line over any arguments, parsed and checked as the
// program does, stopping before any font is read or written.

#include "fuzz/command_line_input.h"
#include "mkfont/mkfont_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lumadot::fuzz::checkCommandLine(data, size, lumadot::mkfont::runMkfontCommand);
  return 0;
}
