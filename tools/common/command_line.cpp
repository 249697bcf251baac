#include "common/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <iostream>
#include <sstream>

namespace lumadot::tools {

// GNU's layout: the usage line first, each option's names and value beside
// its help, sections in the order their first option was declared.
class HelpLayout final : public CLI::Formatter {
 public:
  std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override;
  std::string make_usage(const CLI::App* app, std::string name) const override;
  std::string make_option_name(const CLI::Option* option, bool positional) const override;
  std::string make_option_opts(const CLI::Option* option) const override;
  // Wide enough for the widest names and value of `app`.
  void fitColumn(const CLI::App& app);
};

namespace {

constexpr std::size_t kLineWidth = 79;

// The options that show in the help, in the order they were declared.
std::vector<const CLI::Option*> shownOptions(const CLI::App& app, bool positional) {
  return app.get_options([&app, positional](const CLI::Option* option) {
    return !option->get_group().empty() && option->nonpositional() != positional &&
           option != app.get_help_ptr() && option != app.get_version_ptr();
  });
}

std::string usageWord(const CLI::Option& option) {
  std::string word = option.get_name();
  if (option.nonpositional() && option.get_items_expected_max() != 0) word += " " + option.get_type_name();
  return option.get_required() ? word : "[" + word + "]";
}

// CLI11 takes the word after an option as its value whatever it is, and reads
// "--dir=" as "--dir". "--out --unifont x" is far likelier a forgotten value
// than a name starting with "--"; such a value can still be given as --out=--x.
std::optional<std::string> missingValue(const CLI::App& app, const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    const std::string name = args[i].substr(0, args[i].find('='));
    const CLI::Option* option = name.starts_with("--") ? app.get_option_no_throw(name) : nullptr;
    if (option == nullptr || option->get_items_expected_max() == 0) continue;
    const bool inlineValue = name.size() < args[i].size();
    const bool missing =
        inlineValue ? name.size() + 1 == args[i].size() : i + 1 == args.size() || args[i + 1].starts_with("--");
    if (missing) return "option '" + name + "' needs a value";
    if (!inlineValue) ++i;
  }
  return std::nullopt;
}

// CLI11 names the flag given a value only inside its English message, so the
// flag is found among the arguments.
std::optional<std::string> flagGivenAValue(const CLI::App& app, const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size() && args[i] != "--"; ++i) {
    const auto equals = args[i].find('=');
    if (equals == std::string::npos || !args[i].starts_with("--")) continue;
    const CLI::Option* option = app.get_option_no_throw(args[i].substr(0, equals));
    if (option != nullptr && option->get_items_expected_max() == 0) {
      return "option '" + args[i].substr(0, equals) + "' takes no value";
    }
  }
  return std::nullopt;
}

// The option given without the one it `needs`, as the App's state tells it.
std::optional<std::string> unmetNeed(const CLI::App& app) {
  for (const CLI::Option* option : app.get_options()) {
    if (option->count() == 0) continue;
    for (const CLI::Option* need : option->get_needs()) {
      if (need->count() == 0) return option->get_name() + " goes with " + need->get_name();
    }
  }
  return std::nullopt;
}

std::optional<std::string> missingRequired(const CLI::App& app) {
  for (const CLI::Option* option : app.get_options()) {
    if (option->get_required() && option->count() == 0) {
      return option->nonpositional() ? "missing option '" + option->get_name() + "'" : "missing " + option->get_name();
    }
  }
  return std::nullopt;
}

// A check's refusal: CLI11 puts the option's name before the check's own text.
std::string checkProblem(const CLI::App& app, const std::string& message) {
  for (const CLI::Option* option : app.get_options()) {
    const std::string prefix = option->get_name() + ": ";
    if (!option->get_name().empty() && message.starts_with(prefix)) return message.substr(prefix.size());
  }
  return message;
}

// CLI11's refusal in our words, read from what was declared and given.
std::string parseProblem(const CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& args) {
  std::optional<std::string> problem;
  if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) problem = checkProblem(app, error.what());
  if (dynamic_cast<const CLI::RequiresError*>(&error) != nullptr) problem = unmetNeed(app);
  if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) problem = missingRequired(app);
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) problem = flagGivenAValue(app, args);
  return problem.value_or(error.what());
}

}  // namespace

std::string HelpLayout::make_help(const CLI::App* app, std::string name, CLI::AppFormatMode) const {
  std::ostringstream out;
  out << make_usage(app, name);
  if (!app->get_description().empty()) out << '\n' << app->get_description() << '\n';
  for (const std::string& group : app->get_groups()) {
    const auto options = app->get_options([&group](const CLI::Option* option) {
      return option->get_group() == group && option->nonpositional();
    });
    if (!group.empty() && !options.empty()) out << make_group(group, false, options);
  }
  if (!app->get_footer().empty()) out << '\n' << app->get_footer() << '\n';
  return out.str();
}

std::string HelpLayout::make_usage(const CLI::App* app, std::string name) const {
  std::vector<std::string> words;
  for (const bool positional : {false, true}) {
    for (const CLI::Option* option : shownOptions(*app, positional)) words.push_back(usageWord(*option));
  }
  std::string out = get_label("Usage") + ": " + name;
  const std::string indent(out.size(), ' ');
  std::size_t lineStart = 0;
  for (const std::string& word : words) {
    if (out.size() - lineStart + 1 + word.size() > kLineWidth) {
      out += "\n" + indent;
      lineStart = out.size() - indent.size();
    }
    out += " " + word;
  }
  return out + "\n";
}

std::string HelpLayout::make_option_name(const CLI::Option* option, bool) const {
  std::string names = option->get_name(false, true);
  for (std::size_t comma = 0; (comma = names.find(',', comma)) != std::string::npos; comma += 2) {
    names.insert(comma + 1, " ");
  }
  return names;
}

std::string HelpLayout::make_option_opts(const CLI::Option* option) const {
  return option->get_items_expected_max() == 0 ? std::string() : " " + option->get_type_name();
}

void HelpLayout::fitColumn(const CLI::App& app) {
  std::size_t widest = 0;
  for (const CLI::Option* option : app.get_options([](const CLI::Option* o) { return o->nonpositional(); })) {
    widest = std::max(widest, make_option_name(option, false).size() + make_option_opts(option).size());
  }
  column_width(widest + 4);  // two spaces before the names, two after
}

CommandLine::CommandLine(std::string name, std::string description, std::string footer)
    : m_app(std::make_unique<CLI::App>(std::move(description), name)),
      m_layout(std::make_shared<HelpLayout>()),
      m_program(name.substr(0, name.find(' '))) {
  m_app->formatter(m_layout);
  m_app->footer(std::move(footer));
  // Unknown options are named by unknownOption(), in our words.
  m_app->allow_extras();
  // A value option given twice keeps the last, as a flag does.
  m_app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)->disable_flag_override();
  m_app->set_help_flag();  // added again last, so it closes its section
}

CommandLine::~CommandLine() = default;

void CommandLine::setUsageLabel(std::string label) { m_layout->label("Usage", std::move(label)); }

std::optional<int> CommandLine::parse(const std::vector<std::string>& args) {
  if (m_app->get_help_ptr() == nullptr) m_app->set_help_flag("-h,--help", "show this help");
  if (const auto missing = missingValue(*m_app, args)) return usageError(*missing);
  std::vector<std::string> lastFirst(args.rbegin(), args.rend());  // as CLI11 takes them
  try {
    m_app->parse(lastFirst);
  } catch (const CLI::CallForHelp&) {
    if (const auto unknown = unknownOption()) return usageError(*unknown);
    std::cout << help() << std::flush;
    return kExitCompleted;
  } catch (const CLI::CallForVersion& version) {
    std::cout << version.what() << '\n' << std::flush;
    return kExitCompleted;
  } catch (const CLI::ParseError& error) {
    return usageError(unknownOption().value_or(parseProblem(*m_app, error, args)));
  }
  if (const auto unknown = unknownOption()) return usageError(*unknown);
  return std::nullopt;
}

std::optional<int> CommandLine::parseWithoutArguments(const std::vector<std::string>& args) {
  std::vector<std::string> extra;
  CLI::Option* option = m_app->add_option("ARGUMENT", extra)->group("");
  const auto exit = parse(args);
  m_app->remove_option(option);  // it holds `extra`, which goes now
  if (exit) return exit;
  if (extra.empty()) return std::nullopt;
  const std::string& name = m_app->get_name();
  return usageError(name.substr(name.rfind(' ') + 1) + " takes no arguments");
}

std::string CommandLine::help() const {
  m_layout->fitColumn(*m_app);
  return m_app->help();
}

int CommandLine::usageError(std::string_view what) const {
  std::cerr << m_program << ": " << what << '\n'
            << m_layout->make_usage(m_app.get(), m_app->get_name()) << "Try '" << m_app->get_name()
            << " --help'.\n"
            << std::flush;
  return kExitUsage;
}

// Whatever CLI11 could not place: an option it does not know, or, past "--",
// text the command had no room for (which the command itself refuses).
std::optional<std::string> CommandLine::unknownOption() const {
  for (const std::string& arg : m_app->remaining()) {
    if (arg == "--") break;
    if (arg.size() > 1 && arg.front() == '-') return "unknown option '" + arg.substr(0, arg.find('=')) + "'";
  }
  return std::nullopt;
}

CLI::Validator inOurWords(CLI::Validator check, ValueProblem problem) {
  return CLI::Validator(
      [check = std::move(check), problem = std::move(problem)](std::string& value) {
        const std::string given = value;
        return check(value).empty() ? std::string() : problem(given);
      },
      "");
}

namespace {

// A whole number in decimal from `lowest` to `highest`. CLI11's own reading
// of numbers would also take 010 as octal and 0x10 as hex.
CLI::Validator wholeNumberIn(int lowest, int highest, ValueProblem problem) {
  return CLI::Validator(
      [lowest, highest, problem = std::move(problem)](std::string& value) {
        const auto number = wholeNumber(value, lowest, highest);
        if (!number) return problem(value);
        value = std::to_string(*number);  // what CLI11 then reads cannot be taken for octal
        return std::string();
      },
      "");
}

}  // namespace

CLI::Option* addWholeNumberOption(CLI::App& app, const std::string& name, int& number, int lowest, int highest,
                                  const std::string& help, ValueProblem problem) {
  return app.add_option(name, number, help)->type_name("N")->transform(wholeNumberIn(lowest, highest, std::move(problem)));
}

std::optional<int> wholeNumber(std::string_view text, int lowest, int highest) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest) {
    return std::nullopt;
  }
  return value;
}

}  // namespace lumadot::tools
