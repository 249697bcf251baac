// The port box's text, and the order in which device paths are counted as
// com1, com2, ...: a strict weak order over any paths, or a sort would
// misbehave and comN would lead to a different device on each run.

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "serial/port_mapping.h"
#include "serial/port_names.h"

namespace lumadot::fuzz {

void fuzzInput(FuzzedDataProvider& in) {
  const std::u16string box = utf8ToUtf16(in.ConsumeRandomLengthString(16));
  if (const auto number = portNumber(box)) {
    FUZZ_EXPECT(*number >= 1 && *number <= kPortCount);
    FUZZ_EXPECT(portName(*number) == box);
  }

  std::vector<std::string> paths;
  while (in.remaining_bytes() > 0 && paths.size() < 16) paths.push_back(in.ConsumeRandomLengthString(24));
  for (const std::string& a : paths) {
    FUZZ_EXPECT(!naturalLess(a, a));
    for (const std::string& b : paths) {
      if (naturalLess(a, b)) FUZZ_EXPECT(!naturalLess(b, a));
      for (const std::string& c : paths) {
        if (naturalLess(a, b) && naturalLess(b, c)) FUZZ_EXPECT(naturalLess(a, c));
        // Neither before the other is an equivalence too.
        const auto same = [](const std::string& x, const std::string& y) {
          return !naturalLess(x, y) && !naturalLess(y, x);
        };
        if (same(a, b) && same(b, c)) FUZZ_EXPECT(same(a, c));
      }
    }
  }
  std::sort(paths.begin(), paths.end(), naturalLess);
  FUZZ_EXPECT(std::is_sorted(paths.begin(), paths.end(), naturalLess));
}

}  // namespace lumadot::fuzz
