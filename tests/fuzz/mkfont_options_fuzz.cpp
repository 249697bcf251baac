// lumadot-mkfont's command line over any arguments, parsed and checked as the
// program does, stopping before any font is read or written.

#include "fuzz/command_line_input.h"
#include "fuzz/fuzz_input.h"
#include "mkfont/mkfont_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumadot;
  using namespace lumadot::fuzz;
  const std::vector<std::string> args = arguments(data, size);
  const CapturedOutput output;
  const int exit = mkfont::runMkfontCommand(args, tools::Reach::checkOptions);
  FUZZ_EXPECT(exit == tools::kExitCompleted || exit == tools::kExitUsage);
  if (exit == tools::kExitUsage) FUZZ_EXPECT(!output.err().empty());
  return 0;
}
