#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace lumadot::tools {

struct KnownOption {
  std::string_view name;  // with the leading "--"
  bool takesValue = false;
};

// Long options only, as "--name VALUE" or "--name=VALUE"; "--" ends them,
// and "-h" stands for "--help". A value is never empty.
class Arguments {
 public:
  // Returns an error text for an unknown option or a missing value.
  std::optional<std::string> parse(const std::vector<std::string>& args, const std::vector<KnownOption>& known);

  bool has(std::string_view name) const { return m_flags.count(std::string(name)) > 0; }
  std::optional<std::string> value(std::string_view name) const;
  const std::vector<std::string>& positionals() const { return m_positionals; }

 private:
  std::set<std::string> m_flags;
  std::map<std::string, std::string> m_values;
  std::vector<std::string> m_positionals;
};

// An option's value as a whole number from `lowest` to `highest`, nothing else around it.
std::optional<int> wholeNumber(std::string_view text, int lowest, int highest);

}  // namespace lumadot::tools
