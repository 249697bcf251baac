// A program for tests to start: each argument in brackets on a line of its
// own, then standard input, a chunk at a time as it comes (so a parent that
// fed it all before reading would stall), ECHO_VARIABLE on standard error, and
// ECHO_EXIT as its exit status. Started with nobody reading, it writes its
// arguments to the file ECHO_TO names instead, whole when it appears.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

#include "common/program_start.h"

namespace {

// Windows keeps the environment in UTF-16: read narrow, 值 would be "?".
std::string variable(const char* name) {
#ifdef _WIN32
  wchar_t value[4096];
  const std::wstring wideName(name, name + std::char_traits<char>::length(name));
  const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value, 4096);
  if (length == 0 || length >= 4096) return "(unset)";
  std::string utf8(static_cast<std::size_t>(length) * 3, '\0');
  utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, value, static_cast<int>(length), utf8.data(),
                                                           static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
#else
  const char* value = std::getenv(name);
  return value == nullptr ? "(unset)" : value;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  lumadot::tools::setUpStandardStreams();
  std::string arguments;
  for (const std::string& argument : lumadot::tools::programArguments(argc, argv)) arguments += "[" + argument + "]\n";
  if (const std::string file = variable("ECHO_TO"); file != "(unset)") {
    const std::filesystem::path path(std::u8string(file.begin(), file.end()));
    std::ofstream(std::filesystem::path(path).concat(".tmp"), std::ios::binary) << arguments;
    std::filesystem::rename(std::filesystem::path(path).concat(".tmp"), path);
    return 0;
  }
  std::fwrite(arguments.data(), 1, arguments.size(), stdout);
  std::fflush(stdout);
  char chunk[4096];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, stdin)) > 0;) {
    std::fwrite(chunk, 1, got, stdout);
    std::fflush(stdout);
  }
  std::fprintf(stderr, "%s", variable("ECHO_VARIABLE").c_str());
  const std::string exit = variable("ECHO_EXIT");
  return exit == "(unset)" ? 0 : std::atoi(exit.c_str());
}
