// lumadot-cli's command line, every command and option, over any arguments:
// parsed and checked as the program does, stopping before anything is read,
// written or sent. Help and version are printed, a usage error is explained
// with exit status 2, and a command line that would run exits 0.

#include "cli/commands.h"
#include "fuzz/command_line_input.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumadot;
  using namespace lumadot::fuzz;
  const std::vector<std::string> args = arguments(data, size);
  const CapturedOutput output;
  const int exit = cli::runCommandLine(args, tools::Reach::checkOptions);
  FUZZ_EXPECT(exit == tools::kExitCompleted || exit == tools::kExitUsage);
  if (exit == tools::kExitUsage) FUZZ_EXPECT(!output.err().empty());
  return 0;
}
