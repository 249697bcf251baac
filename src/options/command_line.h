#pragma once

// The command line both tools share: CLI11 parses, and this layer gives it
// our help layout, GNU-style errors and our exit statuses. Only the .cpp
// files that declare options include <CLI/CLI.hpp>; this header stays light.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
class Error;
class Option;
class Validator;
}  // namespace CLI

namespace lumadot {

inline constexpr int kExitCompleted = 0;  // done, and after --help or --version
inline constexpr int kExitFailed = 1;     // the run, its input or its output failed
inline constexpr int kExitUsage = 2;      // the command line is wrong

class HelpLayout;

// How far a command goes once its options are parsed. Fuzzing the command
// line stops at checkOptions: every option is read and checked, and nothing
// is read from standard input, written or sent.
enum class Reach { run, checkOptions };

// One program's or command's options, each declared on app() with its help
// beside it; the help and the usage line are made from those declarations.
// The help's layout is app()'s formatter, whose labels and column width a
// program may change.
class CommandLine {
 public:
  // `name` as the user types it, "lumadot-cli extract"; its first word is
  // the program that errors are signed with.
  CommandLine(std::string name, std::string description, std::string footer);
  ~CommandLine();

  CLI::App& app() { return *m_app; }

  // What to say of an option the command does not take where "unknown
  // option" would mislead: one its sibling commands take (the clock's --speed).
  void refuse(const std::string& option, std::string why);
  // What to say of text the command has no room for; unless told, "ports
  // takes no arguments".
  void refuseArguments(std::string why);

  // The exit status to end with when the arguments asked for the help or the
  // version (printed) or are wrong (explained); nothing when the command runs.
  std::optional<int> parse(const std::vector<std::string>& args);

  // What is wrong, then the usage and where the help is; returns kExitUsage.
  int usageError(std::string_view what) const;

 private:
  std::string usageText(std::string_view what) const;
  std::optional<std::string> unknownOption() const;
  std::string problem(const CLI::Error& error) const;

  std::unique_ptr<CLI::App> m_app;
  std::shared_ptr<HelpLayout> m_layout;
  std::string m_program;
  std::map<std::string, std::string> m_refusals;  // by option name
  std::string m_noArguments;
};

// Declares a command's Options on a new command line (through the command's
// own declareOptions), parses `args` into them and returns body(line,
// options), unless the arguments end the program first: help, version or a
// usage error.
template <class Options, class Body>
int parseAndRun(const std::vector<std::string>& args, std::string_view name, std::string_view description,
                std::string_view footer, Body body) {
  CommandLine line{std::string(name), std::string(description), std::string(footer)};
  Options options;
  declareOptions(line.app(), options);
  if (const auto exit = line.parse(args)) return *exit;
  return body(line, options);
}

// Why a value is refused, in the words of the person who gave it.
using ValueProblem = std::function<std::string(const std::string& value)>;

// A CLI11 check (IsMember, Range, ...) whose refusal reads as `problem` says.
CLI::Validator inOurWords(CLI::Validator check, ValueProblem problem);

// An option taking a whole number N from `lowest` to `highest`, the value refused as `problem` says.
CLI::Option* addWholeNumberOption(CLI::App& app, const std::string& name, int& number, int lowest, int highest,
                                  const std::string& help, ValueProblem problem);

// An option's value as a whole number from `lowest` to `highest`, nothing else around it.
std::optional<int> wholeNumber(std::string_view text, int lowest, int highest);

}  // namespace lumadot
