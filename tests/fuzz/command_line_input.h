#pragma once
// A fuzzed command line: arguments separated by NUL bytes, parsed and checked
// as the program does, with what it says captured instead of printed.

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "options/command_line.h"
#include "fuzz/fuzz_input.h"

namespace lumadot::fuzz {

inline std::vector<std::string> arguments(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kMostArguments = 24;
  std::vector<std::string> args;
  if (size > 0) args.emplace_back();
  for (std::size_t i = 0; i < size && args.size() <= kMostArguments; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  return args;
}

// std::cout and std::cerr into strings for as long as it lives.
class CapturedOutput {
 public:
  CapturedOutput() : m_out(std::cout.rdbuf(m_outText.rdbuf())), m_err(std::cerr.rdbuf(m_errText.rdbuf())) {}
  ~CapturedOutput() {
    std::cout.rdbuf(m_out);
    std::cerr.rdbuf(m_err);
  }
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

  std::string out() const { return m_outText.str(); }
  std::string err() const { return m_errText.str(); }

 private:
  std::ostringstream m_outText;
  std::ostringstream m_errText;
  std::streambuf* m_out;
  std::streambuf* m_err;
};

using CommandRunner = int (*)(const std::vector<std::string>& args, Reach reach);

// Help and version are printed, a usage error is explained with exit status
// 2, and a command line that would run exits 0.
inline void checkCommandLine(const std::uint8_t* data, std::size_t size, CommandRunner run) {
  const CapturedOutput output;
  const int exit = run(arguments(data, size), Reach::checkOptions);
  FUZZ_EXPECT(exit == kExitCompleted || exit == kExitUsage);
  if (exit == kExitUsage) FUZZ_EXPECT(!output.err().empty());
}

}  // namespace lumadot::fuzz
