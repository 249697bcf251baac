#pragma once

// The byte layout options extract and preview share: --scan, --lsb-first
// (--reverse), --negative and --split; detect names the layout it finds in them.

#include <string>

#include "base/result.h"
#include "extract/byte_layout.h"

namespace CLI {
class App;
}  // namespace CLI

namespace lumadot {

struct LayoutOptions {
  std::string scan;  // empty when --scan is not given
  bool lsbFirst = false;
  bool negative = false;
  bool split = false;
};

void addLayoutOptions(CLI::App& app, LayoutOptions& options);

// The layout the options ask for, or why they contradict each other.
Result<ByteLayout> chosenLayout(const LayoutOptions& options);

// The options that ask for `layout`: "--scan columns --lsb-first".
std::string layoutOptions(const ByteLayout& layout);

}  // namespace lumadot
