#include "cli/layouts_command.h"

#include <array>
#include <cstdio>

#include "cli/console.h"
#include "extract/byte_layout.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Shows, for each of the four scans that --scan takes, which byte every dot\n"
    "of a 16x16 glyph goes into, as extract writes the bytes.";

constexpr std::string_view kLegend =
    "Byte 0 comes first. In each byte the first dot of its 8 (the leftmost, or\n"
    "the topmost) is bit 7, or bit 0 with --lsb-first; --negative inverts every\n"
    "byte. A single-byte glyph, 8 dots wide, takes its 16 bytes in the same\n"
    "order over its 8 columns. \"8*16格式\" is --scan row-bands.\n";

// The byte of a `scan` glyph that dot (x, y) goes into, found by asking the
// encoder itself, so the map cannot disagree with extract.
using ByteMap = std::array<std::array<int, 16>, 16>;

ByteMap byteMap(Scan scan) {
  ByteMap map{};
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      GlyphPicture dot;
      dot.light(x, y);
      std::array<std::uint8_t, glyphSize(Dots{})> bytes{};
      encodeGlyph(dot, {scan, false, false}, bytes);
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != 0) map[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = static_cast<int>(i);
      }
    }
  }
  return map;
}

// Two scans side by side, a title over each.
std::string twoMaps(Scan left, Scan right) {
  const ByteMap maps[] = {byteMap(left), byteMap(right)};
  std::string text;
  for (const Scan scan : {left, right}) {
    std::string title = "--scan " + std::string(scanName(scan));
    title.resize(51, ' ');
    text += title;
  }
  text.erase(text.find_last_not_of(' ') + 1);
  text += '\n';
  for (std::size_t y = 0; y < 16; ++y) {
    std::string line;
    for (const ByteMap& map : maps) {
      for (const int byte : map[y]) {
        char cell[4];
        std::snprintf(cell, sizeof cell, "%2d ", byte);
        line += cell;
      }
      line += "   ";
    }
    line.erase(line.find_last_not_of(' ') + 1);
    text += line + '\n';
  }
  return text;
}

}  // namespace

int runLayoutsCommand(const std::vector<std::string>& args, tools::Reach reach) {
  tools::CommandLine line("lumadot-cli layouts", std::string(kDescription), {});
  if (const auto exit = line.parse(args)) return *exit;
  if (reach == tools::Reach::checkOptions) return kExitCompleted;
  const std::string text = twoMaps(Scan::rows, Scan::rowBands) + "\n" + twoMaps(Scan::columns, Scan::columnBands) +
                           "\n" + std::string(kLegend);
  return writeStdout(text) ? kExitCompleted : kExitFailed;
}

}  // namespace lumadot::cli
