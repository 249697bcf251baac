#include "common/arguments.h"

#include <algorithm>
#include <charconv>

namespace lumadot::tools {

std::optional<std::string> Arguments::parse(const std::vector<std::string>& args,
                                            const std::vector<KnownOption>& known) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") {
      m_positionals.insert(m_positionals.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
      break;
    }
    // A lone "-" or anything not starting with "-" is text, not an option.
    if (arg.size() < 2 || arg[0] != '-') {
      m_positionals.push_back(arg);
      continue;
    }
    const std::string name = arg == "-h" ? "--help" : arg.substr(0, arg.find('='));
    const auto option = std::find_if(known.begin(), known.end(), [&](const KnownOption& o) { return o.name == name; });
    if (option == known.end()) return "unknown option '" + name + "'";
    const bool inlineValue = arg.find('=') != std::string::npos;
    if (!option->takesValue) {
      if (inlineValue) return "option '" + name + "' takes no value";
      m_flags.insert(name);
    } else {
      // "--out --unifont x" is far likelier a forgotten value than a name
      // starting with "--"; such a value can still be given as --out=--x.
      const bool nextIsValue = i + 1 < args.size() && !args[i + 1].starts_with("--");
      if (!inlineValue && !nextIsValue) return "option '" + name + "' needs a value";
      std::string value = inlineValue ? arg.substr(arg.find('=') + 1) : args[++i];
      if (value.empty()) return "option '" + name + "' needs a value";
      m_values[name] = std::move(value);
    }
  }
  return std::nullopt;
}

std::optional<std::string> Arguments::value(std::string_view name) const {
  const auto it = m_values.find(std::string(name));
  if (it == m_values.end()) return std::nullopt;
  return it->second;
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
