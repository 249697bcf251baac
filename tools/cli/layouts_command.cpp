#include "cli/layouts_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <vector>

#include "cli/console.h"
#include "options/font_options.h"
#include "extract/byte_layout.h"
#include "extract/font_layout.h"

namespace lumadot::cli {
namespace {

constexpr std::string_view kDescription =
    "Shows, for each of the four scans that --scan takes, which byte every dot\n"
    "of a double-byte glyph goes into, as extract writes the bytes: at 16x16,\n"
    "or at the size --size asks for.";

// Where the maps stand side by side, at most this wide; the 16-dot pair is 99.
constexpr std::size_t kPairWidth = 100;
// The legend's lines, at most this wide.
constexpr int kLegendWidth = 75;

struct LayoutsOptions {
  CellSize cell{};
};

void declareOptions(CLI::App& app, LayoutsOptions& options) { addSizeOption(app, options.cell); }

// The byte of a `scan` glyph of `dots` that dot (x, y) goes into, row by
// row, found by asking the encoder itself, so the map cannot disagree with
// extract.
using ByteMap = std::vector<std::vector<int>>;

ByteMap byteMap(Dots dots, Scan scan) {
  ByteMap map(static_cast<std::size_t>(dots.height), std::vector<int>(static_cast<std::size_t>(dots.width)));
  std::vector<std::uint8_t> bytes(glyphSize(dots, scan));
  for (int y = 0; y < dots.height; ++y) {
    for (int x = 0; x < dots.width; ++x) {
      GlyphPicture dot(dots);
      dot.light(x, y);
      encodeGlyph(dot, {scan, false, false}, bytes);
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != 0) map[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = static_cast<int>(i);
      }
    }
  }
  return map;
}

std::string withoutTrailingBlanks(std::string line) {
  line.erase(line.find_last_not_of(' ') + 1);
  return line;
}

// Maps side by side, a title over each, every byte number `digits` wide.
std::string maps(const std::vector<Scan>& scans, Dots dots, int digits) {
  const auto mapWidth = static_cast<std::size_t>(dots.width * (digits + 1) + 3);
  std::string title;
  for (const Scan scan : scans) {
    std::string one = "--scan " + std::string(scanName(scan));
    one.resize(mapWidth, ' ');
    title += one;
  }
  std::string text = withoutTrailingBlanks(title) + '\n';
  std::vector<ByteMap> drawn;
  for (const Scan scan : scans) drawn.push_back(byteMap(dots, scan));
  for (std::size_t y = 0; y < static_cast<std::size_t>(dots.height); ++y) {
    std::string line;
    for (const ByteMap& map : drawn) {
      for (const int byte : map[y]) {
        char cell[8];
        std::snprintf(cell, sizeof cell, "%*d ", digits, byte);
        line += cell;
      }
      line += "   ";
    }
    text += withoutTrailingBlanks(line) + '\n';
  }
  return text;
}

// The four maps, two by two where a pair fits across, else one under another.
std::string allMaps(Dots dots) {
  const std::size_t most = std::max(glyphSize(dots, Scan::rows), glyphSize(dots, Scan::columns)) - 1;
  const int digits = std::max(2, static_cast<int>(std::to_string(most).size()));
  const bool pairs = 2 * static_cast<std::size_t>(dots.width * (digits + 1)) + 3 <= kPairWidth;
  const std::vector<std::vector<Scan>> groups =
      pairs ? std::vector<std::vector<Scan>>{{Scan::rows, Scan::rowBands}, {Scan::columns, Scan::columnBands}}
            : std::vector<std::vector<Scan>>{{Scan::rows}, {Scan::rowBands}, {Scan::columns}, {Scan::columnBands}};
  std::string text;
  for (const auto& group : groups) text += maps(group, dots, digits) + "\n";
  return text;
}

// Character cells `text` takes: a character of three UTF-8 bytes or more (Chinese) two.
int cellsOf(std::string_view text) {
  int cells = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0U) != 0x80U) cells += byte >= 0xE0U ? 2 : 1;
  }
  return cells;
}

// `text`'s words in lines of at most kLegendWidth cells.
std::string wrapped(std::string_view text) {
  std::string out, line;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find(' ', start), text.size());
    const std::string_view word = text.substr(start, end - start);
    if (!line.empty() && cellsOf(line) + 1 + cellsOf(word) > kLegendWidth) {
      out += line + '\n';
      line.clear();
    }
    line += (line.empty() ? "" : " ") + std::string(word);
    start = end + 1;
  }
  return out + line + '\n';
}

std::string legend(CellSize cell) {
  const Dots single = cell.singleByte(), wide = cell.doubleByte();
  const std::size_t rowBytes = glyphSize(single, Scan::rows), columnBytes = glyphSize(single, Scan::columns);
  std::string text =
      "Byte 0 comes first. In each byte the first dot of its 8 (the leftmost, or the topmost) is bit 7, or bit 0 with "
      "--lsb-first; --negative inverts every byte.";
  if (wide.width % 8 != 0 || wide.height % 8 != 0 || single.width % 8 != 0) {
    text += " A byte that the glyph's edge cuts short holds its dots from its first end, then dark dots.";
  }
  text += " A single-byte glyph, " + std::to_string(single.width) + " dots wide, takes its " + std::to_string(rowBytes) +
          " bytes" + (rowBytes == columnBytes ? "" : " (" + std::to_string(columnBytes) + " in the column scans)") +
          " in the same order over its " + std::to_string(single.width) + " columns. \"8*16格式\" is --scan row-bands.";
  return wrapped(text);
}

int runLayouts(const LayoutsOptions& options, Reach reach) {
  if (reach == Reach::checkOptions) return kExitCompleted;
  const std::string text = allMaps(options.cell.doubleByte()) + legend(options.cell);
  return writeStdout(text) ? kExitCompleted : kExitFailed;
}

}  // namespace

int runLayoutsCommand(const std::vector<std::string>& args, Reach reach) {
  return parseAndRun<LayoutsOptions>(args, "lumadot-cli layouts", kDescription, {},
                                              [reach](CommandLine&, const LayoutsOptions& options) {
                                                return runLayouts(options, reach);
                                              });
}

}  // namespace lumadot::cli
