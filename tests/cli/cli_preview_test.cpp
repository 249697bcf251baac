// lumadot-cli preview on the fonts the build made from Unifont.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "support/process.h"

namespace lumadot {
namespace {

using test::runProcess;

const std::filesystem::path kCli = LUMADOT_CLI_PATH;

// 中 and A as Unifont draws them, one character per dot.
const std::string kZhongAPicture =
    ".......#................\n"
    ".......#................\n"
    ".......#................\n"
    ".......#................\n"
    "..###########......##...\n"
    "..#....#....#.....#..#..\n"
    "..#....#....#.....#..#..\n"
    "..#....#....#....#....#.\n"
    "..#....#....#....#....#.\n"
    "..#....#....#....######.\n"
    "..###########....#....#.\n"
    "..#....#....#....#....#.\n"
    ".......#.........#....#.\n"
    ".......#.........#....#.\n"
    ".......#................\n"
    ".......#................\n";

class CliPreviewLayout : public ::testing::TestWithParam<std::vector<std::string>> {};

// Each option changes the bytes and how they are read back alike, so the
// glyphs come out upright and unmirrored: the bytes are what the option says.
TEST_P(CliPreviewLayout, DrawsTheGlyphsAsStored) {
  std::vector<std::string> args{"preview", "--ascii"};
  args.insert(args.end(), GetParam().begin(), GetParam().end());
  args.push_back("中A");
  const auto r = runProcess(kCli, args);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, kZhongAPicture);
}

INSTANTIATE_TEST_SUITE_P(Options, CliPreviewLayout,
                         ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"--reverse"},
                                           std::vector<std::string>{"--split"},
                                           std::vector<std::string>{"--reverse", "--split"},
                                           std::vector<std::string>{"--scan", "columns"},
                                           std::vector<std::string>{"--scan", "column-bands", "--lsb-first"},
                                           std::vector<std::string>{"--negative", "--scan", "row-bands"}),
                         [](const auto& row) {
                           std::string name = "Plain";
                           for (const auto& option : row.param) {
                             for (const char c : option) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

// Where the layout table puts dot (x, y) of a glyph `width` dots wide: its
// byte, and the bit counted from the first dot of the byte.
std::pair<std::size_t, int> dotPlace(const std::string& scan, int width, int x, int y) {
  const int bands = width / 8;
  if (scan == "rows") return {static_cast<std::size_t>(y * bands + x / 8), x % 8};
  if (scan == "row-bands") return {static_cast<std::size_t>(x / 8 * 16 + y), x % 8};
  if (scan == "columns") return {static_cast<std::size_t>(2 * x + y / 8), y % 8};
  return {static_cast<std::size_t>(y / 8 * width + x), y % 8};  // column-bands
}

// The glyph bytes of a hand-drawn picture in a layout, straight from the
// layout table, dot by dot.
std::string bytesOfPicture(const std::string& picture, int from, int width, const std::string& scan, bool lsbFirst,
                           bool negative) {
  std::string bytes(static_cast<std::size_t>(2 * width), negative ? '\xFF' : '\0');
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < width; ++x) {
      if (picture[static_cast<std::size_t>(y * 25 + from + x)] != '#') continue;
      const auto [index, fromFirst] = dotPlace(scan, width, x, y);
      bytes[index] = static_cast<char>(bytes[index] ^ (1 << (lsbFirst ? fromFirst : 7 - fromFirst)));
    }
  }
  return bytes;
}

// 中, A and 丟 (outside the grid: blank) in every layout: the bytes are the
// hand-drawn picture's, placed as the layout table says.
TEST(CliExtractLayout, EveryLayoutHoldsTheDrawnDotsWhereTheTableSays) {
  const std::string blank(16 * 25, '.');
  for (const std::string scan : {"rows", "row-bands", "columns", "column-bands"}) {
    for (const bool lsbFirst : {false, true}) {
      for (const bool negative : {false, true}) {
        std::vector<std::string> args{"extract", "--format", "bin", "--scan", scan};
        if (lsbFirst) args.emplace_back("--lsb-first");
        if (negative) args.emplace_back("--negative");
        args.emplace_back("中A丟");
        const auto r = runProcess(kCli, args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        const std::string expected = bytesOfPicture(kZhongAPicture, 0, 16, scan, lsbFirst, negative) +
                                     bytesOfPicture(kZhongAPicture, 16, 8, scan, lsbFirst, negative) +
                                     bytesOfPicture(blank, 0, 16, scan, lsbFirst, negative);
        EXPECT_EQ(r.out, expected) << scan << (lsbFirst ? " --lsb-first" : "") << (negative ? " --negative" : "");
      }
    }
  }
}

std::string columns(const std::string& picture, std::size_t first, std::size_t count) {
  std::string out;
  for (std::size_t pos = 0; pos < picture.size(); pos = picture.find('\n', pos) + 1) {
    out += picture.substr(pos + first, count) + "\n";
  }
  return out;
}

TEST(CliPreview, BandsBreakBetweenGlyphsAndBlocksAreTheDefaultDots) {
  const auto banded = runProcess(kCli, {"preview", "--ascii", "--width", "20", "中A"});
  EXPECT_EQ(banded.exitCode, 0);
  EXPECT_EQ(banded.out, columns(kZhongAPicture, 0, 16) + "\n" + columns(kZhongAPicture, 16, 8));

  // From standard input, in the block characters a terminal shows.
  const auto blocks = runProcess(kCli, {"preview", "--width", "0"}, "A");
  std::string expected = columns(kZhongAPicture, 16, 8);
  std::string drawn;
  for (const char c : expected) drawn += c == '#' ? "█" : c == '.' ? "·" : "\n";
  EXPECT_EQ(blocks.out, drawn);
}

std::uint32_t bigEndian(const std::string& bytes, std::size_t pos) {
  std::uint32_t value = 0;
  for (std::size_t i = pos; i < pos + 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
  return value;
}

TEST(CliPreview, PngHasFourPixelsADotUnlessScaled) {
  test::TempDir dir;
  const auto file = dir.path() / "zhong.png";
  for (const auto& [scale, side] : {std::pair{std::string(), 4u}, std::pair{std::string("1"), 1u}}) {
    std::vector<std::string> args{"preview", "--png", file.string()};
    if (!scale.empty()) args.insert(args.end(), {"--scale", scale});
    args.push_back("中A");
    const auto r = runProcess(kCli, args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");  // the picture goes to the file only
    const std::string png = test::readFile(file);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(bigEndian(png, 16), 24 * side);
    EXPECT_EQ(bigEndian(png, 20), 16 * side);
  }
}

TEST(CliPreview, NothingToDrawOrNowhereToWriteFailsWithoutAFile) {
  test::TempDir dir;
  const auto file = dir.path() / "empty.png";
  const auto empty = runProcess(kCli, {"preview", "--png", file.string(), ""});
  EXPECT_EQ(empty.exitCode, 1);
  EXPECT_NE(empty.err.find("nothing to draw"), std::string::npos) << empty.err;
  EXPECT_FALSE(std::filesystem::exists(file));

  const auto nowhere = runProcess(kCli, {"preview", "--png", (dir.path() / "no" / "such.png").string(), "A"});
  EXPECT_EQ(nowhere.exitCode, 1);
  EXPECT_NE(nowhere.err.find("cannot write"), std::string::npos) << nowhere.err;

  EXPECT_EQ(runProcess(kCli, {"preview", ""}).out, "");  // an empty text draws nothing in the terminal

  const auto noFonts = runProcess(kCli, {"preview", "--font-dir", dir.path().string(), "A"});
  EXPECT_EQ(noFonts.exitCode, 1);
  EXPECT_EQ(noFonts.out, "");
  EXPECT_NE(noFonts.err.find("无法打开字库文件"), std::string::npos) << noFonts.err;

  // Piped text reads as extract reads it: UTF-16 without its mark is no text for a picture either.
  const auto utf16 = runProcess(kCli, {"preview", "--png", file.string()}, std::string("\x2D\x4E\x41\x00", 4));
  EXPECT_EQ(utf16.exitCode, 1);
  EXPECT_NE(utf16.err.find("holds a NUL at offset 3, which no typed text holds; it reads as UTF-16LE: add --encoding "
                           "utf-16le"),
            std::string::npos)
      << utf16.err;
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace lumadot
