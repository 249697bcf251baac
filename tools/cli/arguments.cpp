#include "arguments.h"

#include <algorithm>

namespace lumadot::cli {

std::optional<std::string> Arguments::parse(const std::vector<std::string>& args,
                                            const std::vector<OptionSpec>& known) {
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
    const auto option = std::find_if(known.begin(), known.end(), [&](const OptionSpec& o) { return o.name == name; });
    if (option == known.end()) return "unknown option '" + name + "'";
    const bool inlineValue = arg.find('=') != std::string::npos;
    if (!option->takesValue) {
      if (inlineValue) return "option '" + name + "' takes no value";
      m_flags.insert(name);
    } else if (inlineValue) {
      m_values[name] = arg.substr(arg.find('=') + 1);
    } else if (i + 1 < args.size()) {
      m_values[name] = args[++i];
    } else {
      return "option '" + name + "' needs a value";
    }
  }
  return std::nullopt;
}

std::optional<std::string> Arguments::value(std::string_view name) const {
  const auto it = m_values.find(std::string(name));
  if (it == m_values.end()) return std::nullopt;
  return it->second;
}

}  // namespace lumadot::cli
