#include "cli/text_input.h"

#include <iostream>

#include "cli/console.h"

namespace lumadot::cli {

Result<std::string> runText(const TextInput& input) {
  if (auto given = givenText(input); !given || *given) return given ? Result<std::string>(**given) : given.error();
  if (isTerminal(stdin)) std::cerr << "Reading the text from standard input; end it with Ctrl+D.\n";
  auto bytes = readAllStdin();
  if (!bytes) return bytes.error();
  auto decoded = decodedText(*bytes, "standard input", input.encoding);
  if (!decoded) return decoded;
  return typedText(*decoded);
}

}  // namespace lumadot::cli
