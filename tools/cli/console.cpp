#include "cli/console.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <iterator>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#else
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/utf8_path.h"
#include "base/file_reader.h"
#include "clock/system_locale.h"
#include "common/program_start.h"

namespace lumadot::cli {
namespace {

void useBinaryStreams() {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

// One message, one line, even if its text has line breaks.
std::string oneLine(std::string_view text) {
  std::string line(text);
  for (char& c : line) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return line;
}

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int signal) {
  g_interrupted = 1;
  std::signal(signal, SIG_DFL);  // the second one is not waited for
}

}  // namespace

InterruptCatcher::InterruptCatcher() {
  g_interrupted = 0;
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
}

InterruptCatcher::~InterruptCatcher() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
}

bool InterruptCatcher::caught() { return g_interrupted != 0; }

int terminalColumns() {
#ifndef _WIN32
  winsize size{};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
#endif
  if (const char* columns = std::getenv("COLUMNS")) {
    if (const auto value = wholeNumber(columns, 1, 100000)) return *value;
  }
  return 80;
}

bool writeStdout(std::string_view bytes) {
  if (tools::standardOutputIsConsole()) {
    if (tools::writeToConsole(bytes)) return true;
    printError("cannot write to the console");
    return false;
  }
  useBinaryStreams();
  if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0) {
    printError(std::string("cannot write to standard output: ") + std::strerror(errno));
    return false;
  }
  return true;
}

Result<std::string> readAllStdin(std::size_t limit) {
  useBinaryStreams();
  return readAll(stdin, "standard input", limit);
}

bool isTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return isatty(fileno(stream)) != 0;
#endif
}

Result<Output> chosenOutput(const FormatOptions& options, const std::string& command) {
  auto output = outputAsked(options);
  if (output && output->format == OutputFormat::bin && isTerminal(stdout)) {
    return Failure("--format bin writes raw bytes; send them to a file: lumadot-cli " + command +
                   " --format bin TEXT > glyphs.bin");
  }
  if (output && tools::standardOutputIsConsole()) output->source.encoding = SourceEncoding::utf8;
  return output;
}


namespace {

#ifdef _WIN32
struct FileIdentity {
  DWORD volume = 0;
  DWORD indexHigh = 0;
  DWORD indexLow = 0;
  bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

bool isStandardOutputFile(const std::string& path) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == INVALID_HANDLE_VALUE || out == nullptr || GetFileType(out) != FILE_TYPE_DISK) return false;
  const HANDLE file = CreateFileW(pathFromUtf8(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const auto named = identityOf(file);
  CloseHandle(file);
  const auto standard = identityOf(out);
  return named && standard && *named == *standard;
}
#else
bool isStandardOutputFile(const std::string& path) {
  struct stat out {};
  struct stat named {};
  // Only a file loses what was written to it; a terminal or a pipe named by its path takes both.
  if (fstat(STDOUT_FILENO, &out) != 0 || !S_ISREG(out.st_mode) || stat(path.c_str(), &named) != 0) return false;
  return out.st_dev == named.st_dev && out.st_ino == named.st_ino;
}
#endif

}  // namespace

Result<void> checkNotStandardOutput(std::string_view option, const std::string& path) {
  if (path.empty() || !isStandardOutputFile(path)) return {};
  return Failure(std::string(option) + " " + path +
                 " is the file standard output goes to, and one would overwrite the other: name another file");
}

std::u16string localeDecimalSeparator() { return decimalSeparator(ClockLocale::system()); }

void printMessage(const Message& message) {
  std::cerr << oneLine(message.title) << ": " << oneLine(message.text) << '\n' << std::flush;
  if (!message.detail.empty()) printError(message.detail);
}

// The statuses the help's "Exit status" lines promise are the categories' own.
static_assert(exitStatus(FailureCategory::usage) == kExitUsage);
static_assert(exitStatus(FailureCategory::input) == kExitFailed && exitStatus(FailureCategory::port) == kExitFailed);

int failedWith(const Failure& failure) {
  printFailure(failure);
  return exitStatus(failure.category);
}

void printFailure(const Failure& failure) {
  printMessage(warningMessage(failure));
}

void printError(std::string_view text) { std::cerr << "lumadot-cli: " << text << '\n' << std::flush; }

}  // namespace lumadot::cli
