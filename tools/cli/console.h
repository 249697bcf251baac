#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "extract/extraction_run.h"
#include "message/message.h"

namespace lumadot::cli {

inline constexpr int kExitCompleted = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Writes bytes to standard output unchanged (no line-ending translation).
bool writeStdout(std::string_view bytes);
std::string readAllStdin();
bool isTerminal(std::FILE* stream);
// Writes `bytes` as the whole of the file at `path`; on failure no part of it is left.
std::optional<std::string> writeWholeFile(const std::filesystem::path& path, std::string_view bytes);

// A message box as one line on standard error: title, then text.
void printMessage(const Message& message);
// A failure's warning, then the system's reason beneath it on a line of its own.
void printFailure(const Failure& failure);
void printError(std::string_view text);  // "lumadot-cli: text"
// What is wrong, then the command's usage and where its help is; returns kExitUsage.
int usageError(std::string_view what, std::string_view usage, std::string_view command);

// Keeps the result box's text and prints each message box as it would appear.
class ConsoleHooks final : public RunHooks {
 public:
  void showListing(std::u16string_view text) override { m_listing.assign(text); }
  void showFailure(const Failure& failure) override { printFailure(failure); }
  void showSent(std::string_view confirmation) override { printMessage(noticeMessage(confirmation)); }
  const std::u16string& listing() const { return m_listing; }

 private:
  std::u16string m_listing;
};

}  // namespace lumadot::cli
