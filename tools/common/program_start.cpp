#include "common/program_start.h"

#include <algorithm>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <iostream>
#include <streambuf>
#endif

namespace lumadot::tools {

#ifdef _WIN32
namespace {

std::string toUtf8(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size - 1), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

// The console behind a standard handle, or nothing for a pipe or a file.
HANDLE consoleOf(DWORD which) {
  HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

// Whole characters to the console: a UTF-8 sequence split between two writes
// waits in `pending` for the rest of it.
bool writeUtf8(HANDLE console, std::string& pending, std::string_view bytes) {
  pending.append(bytes);
  std::size_t whole = pending.size();
  for (std::size_t back = 1; back <= std::min<std::size_t>(3, pending.size()); ++back) {
    const auto c = static_cast<unsigned char>(pending[pending.size() - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (length > back) whole = pending.size() - back;
    break;
  }
  const int size = static_cast<int>(whole);
  const int wideSize = MultiByteToWideChar(CP_UTF8, 0, pending.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, pending.data(), size, wide.data(), wideSize);
  pending.erase(0, whole);
  DWORD written = 0;
  return wide.empty() || WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
}

class ConsoleBuffer final : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : m_console(console) {}

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    return writeUtf8(m_console, m_pending, std::string_view(s, static_cast<std::size_t>(n))) ? n : 0;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return writeUtf8(m_console, m_pending, std::string_view(&byte, 1)) ? c : traits_type::eof();
  }

 private:
  HANDLE m_console;
  std::string m_pending;
};

// Lets the sign's panel move the cursor with the escape sequences a Linux terminal takes.
void takeEscapeSequences(HANDLE console) {
  DWORD mode = 0;
  if (GetConsoleMode(console, &mode)) SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
}

std::string g_stdoutPending;

}  // namespace

std::vector<std::string> programArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) args.push_back(toUtf8(wide[i]));
  LocalFree(wide);
  return args;
}

void setUpStandardStreams() {
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  if (HANDLE out = consoleOf(STD_OUTPUT_HANDLE)) {
    takeEscapeSequences(out);
    static ConsoleBuffer buffer(out);
    std::cout.rdbuf(&buffer);
  }
  if (HANDLE err = consoleOf(STD_ERROR_HANDLE)) {
    static ConsoleBuffer buffer(err);
    std::cerr.rdbuf(&buffer);
  }
}

bool standardOutputIsConsole() { return consoleOf(STD_OUTPUT_HANDLE) != nullptr; }

bool writeToConsole(std::string_view utf8) {
  HANDLE out = consoleOf(STD_OUTPUT_HANDLE);
  std::cout.flush();
  return out && writeUtf8(out, g_stdoutPending, utf8);
}

#else

std::vector<std::string> programArguments(int argc, char** argv) {
  return {argv + std::min(argc, 1), argv + argc};
}

void setUpStandardStreams() {}

bool standardOutputIsConsole() { return false; }

bool writeToConsole(std::string_view) { return false; }

#endif

}  // namespace lumadot::tools
