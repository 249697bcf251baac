#include "options/command_line.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <charconv>
#include <iostream>

namespace lumadot {

// GNU's layout: the usage line first, naming every option, then each
// option's names and value beside its help, in sections in the order their
// first option was declared. Arguments are named in the usage line only.
class HelpLayout final : public CLI::Formatter {
 public:
  // Room for lumadot-cli's widest names, "--lsb-first, --reverse", and two spaces.
  HelpLayout() { column_width(26); }

  std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override;
  std::string make_group(std::string group, bool positional, std::vector<const CLI::Option*> options) const override;
  std::string make_usage(const CLI::App* app, std::string name) const override;
  std::string make_option_name(const CLI::Option* option, bool positional) const override;
  std::string make_option_opts(const CLI::Option* option) const override;
};

namespace {

constexpr std::size_t kLineWidth = 79;

std::string usageWord(const CLI::Option& option) {
  std::string word = option.get_name();
  if (option.nonpositional() && option.get_items_expected_max() != 0) word += " " + option.get_type_name();
  return option.get_required() ? word : "[" + word + "]";
}

// A value that is missing: "--out" last, "--out=", or "--out --unifont x",
// far likelier a forgotten value than a name starting with "--" (which can
// still be given as --out=--x). CLI11 cannot tell these apart from a value:
// it reads "--out=" as "--out" and takes whatever word comes next, and
// expected(0, 1), which stops at the next option, also stops at "-x" and
// "-h", which a value may well be.
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

// The options before "--" that `app` has no place for, as typed, without
// their values. remaining() holds text as well; an option is what CLI11's
// own split reads as one ("-5" and "---" are text to it).
std::vector<std::string> strayOptions(const CLI::App& app) {
  std::vector<std::string> options;
  for (const std::string& arg : app.remaining()) {
    if (arg == "--") break;
    std::string name, value;
    if (CLI::detail::split_long(arg, name, value) ||
        (CLI::detail::split_short(arg, name, value) && !std::isdigit(static_cast<unsigned char>(name[0])))) {
      options.push_back(arg.substr(0, arg.find('=')));
    }
  }
  return options;
}

}  // namespace

std::string HelpLayout::make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const {
  std::string help = make_usage(app, name);
  if (!app->get_description().empty()) help += "\n" + make_description(app);
  help += "\n" + make_groups(app, mode);
  if (!app->get_footer().empty()) help += "\n" + make_footer(app);
  return help;
}

// make_groups puts the blank line between sections itself.
std::string HelpLayout::make_group(std::string group, bool positional, std::vector<const CLI::Option*> options) const {
  std::string text = group + ":\n";
  for (const CLI::Option* option : options) text += make_option(option, positional);
  return text;
}

std::string HelpLayout::make_usage(const CLI::App* app, std::string name) const {
  std::string out = get_label("Usage") + ": " + name;
  const std::string indent(out.size(), ' ');
  std::size_t lineStart = 0;
  for (const bool positional : {false, true}) {
    for (const CLI::Option* option : app->get_options([app, positional](const CLI::Option* o) {
           return !o->get_group().empty() && o->nonpositional() != positional && o != app->get_help_ptr() &&
                  o != app->get_version_ptr();
         })) {
      const std::string word = usageWord(*option);
      if (out.size() - lineStart + 1 + word.size() > kLineWidth) {
        out += "\n" + indent;
        lineStart = out.size() - indent.size();
      }
      out += " " + word;
    }
  }
  return out + "\n";
}

std::string HelpLayout::make_option_name(const CLI::Option* option, bool) const {
  std::string names = option->get_name(false, true);
  for (std::size_t comma = 0; (comma = names.find(',', comma)) != std::string::npos; comma += 2) {
    names.insert(comma + 1, 1, ' ');
  }
  return names;
}

std::string HelpLayout::make_option_opts(const CLI::Option* option) const {
  return option->get_items_expected_max() == 0 ? std::string() : " " + option->get_type_name();
}

CommandLine::CommandLine(std::string name, std::string description, std::string footer)
    : m_app(std::make_unique<CLI::App>(std::move(description), name)),
      m_layout(std::make_shared<HelpLayout>()),
      m_program(name.substr(0, name.find(' '))),
      m_noArguments(name.substr(name.rfind(' ') + 1) + " takes no arguments") {
  m_app->formatter(m_layout);
  m_app->footer(std::move(footer));
  m_app->failure_message([this](const CLI::App*, const CLI::Error& error) { return usageText(problem(error)); });
  // A value option given twice keeps the last, as a flag does; a flag takes no value.
  m_app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)->disable_flag_override();
  // CLI11 takes /name for an option on Windows, so a path such as /tmp/logo.png
  // or a text starting with / would vanish there: options start with - everywhere.
  m_app->allow_windows_style_options(false);
  m_app->set_help_flag();  // added again last, so it closes its section
}

CommandLine::~CommandLine() = default;

void CommandLine::refuse(const std::string& option, std::string why) { m_refusals[option] = std::move(why); }

void CommandLine::refuseArguments(std::string why) { m_noArguments = std::move(why); }

std::optional<int> CommandLine::parse(const std::vector<std::string>& args) {
  if (m_app->get_help_ptr() == nullptr) m_app->set_help_flag("-h,--help", "show this help");
  if (const auto missing = missingValue(*m_app, args)) return usageError(*missing);
  try {
    m_app->parse(std::vector<std::string>(args.rbegin(), args.rend()));  // CLI11 takes the last first
  } catch (const CLI::ParseError& error) {
    // Beside an option we don't know, --help is taken for a slip as well.
    const auto unknown = unknownOption();
    if (unknown && error.get_name() == "CallForHelp") return usageError(*unknown);
    // Help and version print and exit 0; every refusal goes through problem().
    return m_app->exit(error) == 0 ? kExitCompleted : kExitUsage;
  }
  return std::nullopt;
}

int CommandLine::usageError(std::string_view what) const {
  std::cerr << usageText(what) << std::flush;
  return kExitUsage;
}

std::string CommandLine::usageText(std::string_view what) const {
  return m_program + ": " + std::string(what) + "\n" + m_layout->make_usage(m_app.get(), m_app->get_name()) +
         "Try '" + m_app->get_name() + " --help'.\n";
}

std::optional<std::string> CommandLine::unknownOption() const {
  for (const std::string& stray : strayOptions(*m_app)) {
    if (!m_refusals.contains(stray)) return "unknown option '" + stray + "'";
  }
  return std::nullopt;
}

// CLI11's refusal in our words. An option we don't know comes first, being
// the likelier slip. CLI11's errors have no fields: each names its options
// in its message, before or around CLI11's own English.
std::string CommandLine::problem(const CLI::Error& error) const {
  if (const auto unknown = unknownOption()) return *unknown;
  std::string what = error.what();
  switch (static_cast<CLI::ExitCodes>(error.get_exit_code())) {
    case CLI::ExitCodes::ExtrasError: {
      const auto strays = strayOptions(*m_app);  // each one refused, or unknownOption() had named it
      return strays.empty() ? m_noArguments : m_refusals.at(strays.front());
    }
    // "--scan: unknown scan ...": our checks name the option themselves.
    case CLI::ExitCodes::ValidationError: return what.substr(what.find(": ") + 2);
    // "split was given a disallowed flag override", the flag as typed; missingValue leaves no other mismatch.
    case CLI::ExitCodes::ArgumentMismatch: return "option '--" + what.substr(0, what.find(' ')) + "' takes no value";
    case CLI::ExitCodes::RequiredError: {  // "--out is required"
      const std::string name = what.substr(0, what.find(' '));
      return name.starts_with('-') ? "missing option '" + name + "'" : "missing " + name;
    }
    case CLI::ExitCodes::RequiresError: return what.replace(what.find(" requires "), 10, " goes with ");
    default: return what;  // "--port excludes --device" says it already
  }
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

}  // namespace lumadot
