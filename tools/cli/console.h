#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"
#include "options/command_line.h"
#include "options/format_options.h"
#include "options/text_options.h"
#include "message/message.h"

namespace lumadot::cli {

// Writes bytes to standard output unchanged (no line-ending translation).
bool writeStdout(std::string_view bytes);
// Standard input to its end, or a failure as soon as more than `limit` bytes have come.
Result<std::string> readAllStdin(std::size_t limit = kMaxTextBytes);
bool isTerminal(std::FILE* stream);
// The output the options ask for on standard output; `command` names the
// command in the hint for raw bytes on a terminal. A Windows console shows
// characters, not bytes, so there the text stays UTF-8 whatever encoding was asked for.
Result<Output> chosenOutput(const FormatOptions& options, const std::string& command);
// Refuses `path`, given with `option`, when it is the file standard output is
// redirected to (font --header out.c > out.c): both would be written, and
// one would be lost. Told by device and inode, on Windows by volume and file index.
Result<void> checkNotStandardOutput(std::string_view option, const std::string& path);  // path in UTF-8
// Character cells across standard output's terminal: its size, else COLUMNS, else 80.
int terminalColumns();
// The user's decimal separator, as the success message writes the amount with it.
std::u16string localeDecimalSeparator();

// A message box as one line on standard error, title then text, and its
// detail on the next line.
void printMessage(const Message& message);
// A failure's warning, the reason beneath it on the next line.
void printFailure(const Failure& failure);
// The same, then the status lumadot-cli ends with for the failure's category.
int failedWith(const Failure& failure);
void printError(std::string_view text);  // "lumadot-cli: text"

// While it lives, Ctrl+C (or SIGTERM) is noticed instead of ending the
// program, so work in progress can finish; a second one ends it at once.
class InterruptCatcher {
 public:
  InterruptCatcher();
  ~InterruptCatcher();
  InterruptCatcher(const InterruptCatcher&) = delete;
  InterruptCatcher& operator=(const InterruptCatcher&) = delete;
  static bool caught();
};

}  // namespace lumadot::cli
