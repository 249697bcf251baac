#include "options/layout_options.h"

#include <CLI/CLI.hpp>
#include <vector>

#include "options/command_line.h"

namespace lumadot {

void addLayoutOptions(CLI::App& app, LayoutOptions& options) {
  std::vector<std::string> names;
  for (const Scan scan : kScans) names.emplace_back(scanName(scan));
  app.add_option("--scan", options.scan,
                 "the order the glyph's 8-dot groups go into\n"
                 "bytes (default rows):\n"
                 "  rows          each row top to bottom, its\n"
                 "                groups left to right\n"
                 "  row-bands     each 8-dot-wide band left to\n"
                 "                right, its rows top to bottom\n"
                 "  columns       each column left to right, its\n"
                 "                groups top to bottom\n"
                 "  column-bands  each 8-dot-high band top to\n"
                 "                bottom, its columns left to right\n"
                 "'lumadot-cli layouts' shows all four")
      ->type_name("SCAN")
      ->check(inOurWords(CLI::IsMember(names), [](const std::string& name) {
        return "unknown scan '" + name + "'; choose rows, row-bands, columns or column-bands";
      }));
  app.add_flag("--lsb-first,--reverse", options.lsbFirst,
               "\"字节倒序\": the first dot of a byte (leftmost, or\n"
               "topmost) is bit 0, not bit 7");
  app.add_flag("--negative", options.negative, "invert every byte: 1 is a dark dot");
  app.add_flag("--split", options.split,
               "\"8*16格式\": another name for --scan row-bands, each\n"
               "Chinese glyph as two 8x16 halves, left half first");
}

Result<ByteLayout> chosenLayout(const LayoutOptions& options) {
  ByteLayout layout{Scan::rows, options.lsbFirst, options.negative};
  if (!options.scan.empty()) layout.scan = scanNamed(options.scan).value_or(Scan::rows);
  if (options.split) {
    if (!options.scan.empty() && layout.scan != Scan::rowBands) {
      return Failure("--split is --scan row-bands, so it cannot go with --scan " + options.scan);
    }
    layout.scan = Scan::rowBands;
  }
  return layout;
}

std::string layoutOptions(const ByteLayout& layout) {
  std::string options = "--scan " + std::string(scanName(layout.scan));
  if (layout.lsbFirst) options += " --lsb-first";
  if (layout.negative) options += " --negative";
  return options;
}

}  // namespace lumadot
