#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/version.h"
#include "extract/ansi_code.h"
#include "extract/byte_layout.h"
#include "extract/font_file.h"
#include "extract/font_layout.h"
#include "extract/glyphs.h"
#include "fonts/rendered_glyphs.h"
#include "fonts/unifont_hex.h"
#include "mkfont/font_builder.h"
#include "support/font_bitmaps.h"
#include "support/process.h"
#include "support/unifont_lines.h"

namespace lumadot {
namespace {

namespace fs = std::filesystem;
using test::hexLine;
using test::makeGlyph;
using test::readFile;
using test::runProcess;
using test::TempDir;
using test::writeFile;

template <std::size_t N>
std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& font, std::size_t index) {
  const auto begin = font.begin() + static_cast<std::ptrdiff_t>(index * N);
  return {begin, begin + static_cast<std::ptrdiff_t>(N)};
}

template <std::size_t N>
std::vector<std::uint8_t> vec(const std::array<std::uint8_t, N>& a) { return {a.begin(), a.end()}; }

std::vector<std::uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

// Where the Unifont build puts a .hex glyph: as drawn, a narrow one centred
// in a 16-dot cell, a wide one's middle columns in an 8-dot cell.
std::vector<std::uint8_t> unifontCell(const UnifontGlyph& g, int cellWidth) {
  std::vector<std::uint8_t> cell;
  for (std::size_t r = 0; r < 16; ++r) {
    unsigned row = g.width == 16 ? (g.bytes[2 * r] << 8 | g.bytes[2 * r + 1]) : g.bytes[r] << 8;
    if (cellWidth == 8) {
      cell.push_back(static_cast<std::uint8_t>((g.width == 16 ? row << 4 : row) >> 8));
      continue;
    }
    if (g.width == 8) row >>= 4;
    cell.push_back(static_cast<std::uint8_t>(row >> 8));
    cell.push_back(static_cast<std::uint8_t>(row & 0xFF));
  }
  return cell;
}

// A 16-dot .hex glyph scaled to half in an 8-dot cell: each dot lit when
// any of the 2 x 2 it stands for is, on row 7 as its top is now 7 above the baseline.
std::vector<std::uint8_t> halvedCell(const UnifontGlyph& g) {
  std::vector<std::uint8_t> cell(16, 0);
  for (std::size_t r = 0; r < 16; ++r) {
    for (unsigned x = 0; x < 16; ++x) {
      if ((g.bytes[2 * r + x / 8] >> (7 - x % 8)) & 1) cell[7 + r / 2] |= static_cast<std::uint8_t>(0x80 >> (x / 2));
    }
  }
  return cell;
}

BuiltFonts buildFrom(const UnifontGlyphs& glyphs) {
  return buildFonts([&](char32_t c) { return findSourceGlyph(glyphs, c); }, kUnifontBaseline);
}

TEST(FontBuilderTest, Asc16HoldsPrintableAsciiAndTheEuroOnly) {
  UnifontGlyphs glyphs;
  for (char32_t c = 0; c < 0x100; ++c) glyphs[c] = makeGlyph(8, static_cast<unsigned>(c));
  glyphs.erase(U'B');
  glyphs[0x20AC] = makeGlyph(8, 999);
  glyphs[U'W'] = makeGlyph(16, 7);  // too wide: scaled down to half
  const auto built = buildFrom(glyphs).asc16;
  const auto& font = built.bytes;
  ASSERT_EQ(font.size(), 4096u);
  EXPECT_EQ(built.wanted, 96u);  // 95 printable characters and the euro
  EXPECT_EQ(built.found, 95u);
  EXPECT_EQ(built.missing, std::vector<char32_t>{U'B'});
  EXPECT_EQ(built.scaled, 1u);
  EXPECT_EQ(built.name, "asc16");
  for (unsigned c = 0; c < 256; ++c) {
    SCOPED_TRACE(c);
    const bool blank = c < 0x20 || c == 0x7F || c == 'B' || c > 0x80;
    const UnifontGlyph expected = blank ? UnifontGlyph{8, {}} : glyphs[c == 0x80 ? 0x20AC : c];
    EXPECT_EQ(slice<16>(font, c), c == 'W' ? halvedCell(expected) : unifontCell(expected, 8));
  }
}

TEST(FontBuilderTest, Hzk16PlacesGb2312CharactersInTheirCells) {
  const struct {
    char32_t code;
    int width, row, col;
  } placed[] = {
      {U'中', 16, 54, 48},  // GB2312 D6D0
      {U'Ａ', 8, 3, 33},    // A3C1, an 8-dot glyph gets centred
      {0x3000, 16, 1, 1},   // A1A1, the first cell
      {U'齄', 16, 87, 94},  // F7FE, the last character
  };
  UnifontGlyphs glyphs{{U'A', makeGlyph(8, 5)}};  // outside the grid: must not appear
  for (const auto& p : placed) glyphs[p.code] = makeGlyph(p.width, p.code);
  const auto built = buildFrom(glyphs);
  const auto& font = built.hzk16.bytes;
  ASSERT_EQ(font.size(), 282752u);
  EXPECT_EQ(built.baseline, kUnifontBaseline);
  EXPECT_EQ(built.hzk16.found, 4u);
  EXPECT_EQ(built.hzk16.wanted, 7478u);  // GB2312's 7,445 and code page 936's own 33
  EXPECT_EQ(built.hzk16.missing.size(), 7474u);
  EXPECT_EQ(built.hzk16.missing.front(), U'、');  // A1A2, in grid order
  std::vector<std::uint8_t> expected(font.size(), 0);
  for (const auto& p : placed) {
    const auto cell = unifontCell(glyphs[p.code], 16);
    std::copy(cell.begin(), cell.end(), expected.begin() + ((p.row - 1) * 94 + p.col - 1) * 32);
  }
  EXPECT_EQ(slice<32>(font, 53 * 94 + 47), vec(glyphs[U'中'].bytes));
  EXPECT_TRUE(font == expected);
}

std::vector<std::string> listDir(const fs::path& dir) {
  std::vector<std::string> names;
  if (fs::is_directory(dir)) {
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(FontBuilderTest, WriteFontFilesReplacesBothOrNeither) {
  TempDir tmp;
  const fs::path dir = tmp.path() / "a" / "b";
  const std::vector<std::uint8_t> asc(kAsc16Size, 1), hzk(kHzk16Size, 2);
  ASSERT_TRUE(writeFontFiles(dir, {{"asc16", asc}, {"hzk16", hzk}}));
  EXPECT_EQ(bytesOf(readFile(dir / "asc16")), asc);
  EXPECT_EQ(bytesOf(readFile(dir / "hzk16")), hzk);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);
  ASSERT_TRUE(writeFontFiles(dir, {{"asc16", hzk}, {"hzk16", asc}}));
  EXPECT_EQ(bytesOf(readFile(dir / "asc16")), hzk);
  EXPECT_EQ(bytesOf(readFile(dir / "hzk16")), asc);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);

  // The second rename fails: the first font it created must go too.
  const fs::path blocked = tmp.path() / "blocked";
  fs::create_directories(blocked / "hzk16" / "x");
  EXPECT_NE(writeFontFiles(blocked, {{"asc16", asc}, {"hzk16", hzk}}).error().text.find("hzk16"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(blocked), {}), 1);
  // The third fails: both new ones go, the one it replaced stays replaced.
  writeFile(blocked / "asc24", "old");
  fs::create_directories(blocked / "c" / "x");
  EXPECT_NE(writeFontFiles(blocked, {{"asc24", asc}, {"b", hzk}, {"c", asc}}).error().text.find((blocked / "c").string()),
            std::string::npos);
  EXPECT_EQ(listDir(blocked), (std::vector<std::string>{"asc24", "c", "hzk16"}));
  EXPECT_EQ(bytesOf(readFile(blocked / "asc24")), asc);

  writeFile(tmp.path() / "file", "x");
  EXPECT_NE(writeFontFiles(tmp.path() / "file" / "sub", {{"asc16", asc}}).error().text.find("file"), std::string::npos);
}

// The executable, end to end.
const fs::path kMkfont = LUMADOT_MKFONT_PATH;

// Compressed by the gzip program rather than the zlib calls the reader makes.
std::string gzipped(const std::string& text) {
  const auto r = runProcess("/bin/sh", {"-c", "exec gzip -cn"}, text);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.out;
}

const std::string kGb2312Line = hexLine(U'中', makeGlyph(16, 8));

// One glyph of a BDF font: its ink drawn with '#', placed by the pen's
// advance and the offsets of the ink's left column and bottom row from the
// pen on the baseline.
struct BdfGlyph {
  unsigned encoding;
  int advance, left, bottom;
  std::vector<std::string> ink;
};

std::string bdf(const std::vector<BdfGlyph>& glyphs, int pixels = 16, const std::string& registry = "ISO10646",
                const std::string& encoding = "1") {
  std::ostringstream out;
  out << "STARTFONT 2.1\nFONT -test-Test-Medium-R-Normal--" << pixels << "-160-75-75-C-160-" << registry << "-"
      << encoding << "\nSIZE " << pixels << " 75 75\nFONTBOUNDINGBOX 16 16 0 -2\nSTARTPROPERTIES 6\n"
      << "FAMILY_NAME \"Test\"\nPIXEL_SIZE " << pixels << "\nFONT_ASCENT 14\nFONT_DESCENT 2\n"
      << "CHARSET_REGISTRY \"" << registry << "\"\nCHARSET_ENCODING \"" << encoding << "\"\nENDPROPERTIES\n"
      << "CHARS " << glyphs.size() << "\n";
  for (const BdfGlyph& g : glyphs) {
    const int width = g.ink.empty() ? 0 : static_cast<int>(g.ink[0].size());
    out << "STARTCHAR c" << g.encoding << "\nENCODING " << g.encoding << "\nSWIDTH 1000 0\nDWIDTH " << g.advance
        << " 0\nBBX " << width << " " << g.ink.size() << " " << g.left << " " << g.bottom << "\nBITMAP\n";
    for (const std::string& row : g.ink) {
      std::uint32_t bits = 0;
      for (char c : row) bits = bits << 1 | (c == '#');
      char hex[16];
      const int bytes = (width + 7) / 8;
      std::snprintf(hex, sizeof hex, "%0*X", 2 * bytes, static_cast<unsigned>(bits << (8 * bytes - width)));
      out << hex << "\n";
    }
    out << "ENDCHAR\n";
  }
  out << "ENDFONT\n";
  return out.str();
}

// `ink` with its top left dot at (x, y) of a cell, cut to the cell.
GlyphPicture inkAt(const std::vector<std::string>& ink, int cellWidth, int x, int y, int firstColumn = 0) {
  GlyphPicture picture;
  picture.width = cellWidth;
  for (std::size_t r = 0; r < ink.size(); ++r) {
    for (int c = firstColumn; c < static_cast<int>(ink[r].size()) && x + c - firstColumn < cellWidth; ++c) {
      if (ink[r][static_cast<std::size_t>(c)] == '#') picture.light(x + c - firstColumn, y + static_cast<int>(r));
    }
  }
  return picture;
}

const std::vector<std::string> kZhong = {
    ".....##.....", ".....##.....", "############", "##...##....#", "##...##....#", "##...##....#",
    "############", ".....##.....", ".....##.....", ".....##.....", ".....##.....", ".....##.....",
    ".....##.....", "......#.....",
};
const std::vector<std::string> kA = {"..#..", ".#.#.", "#...#", "#####", "#...#", "#...#", "#...#"};
const std::vector<std::string> kW = {"#.......##", "#.......#.", "#..##...#.", "#.#..#..#.", "##....###.",
                                     "#.......#.", "#.......#."};
const std::vector<std::string> kSmallRomanOne = {".#..", "....", "##..", ".#..", ".#..", ".#..", ".#..", "###."};

// 中 hangs one row below the baseline; W is too wide for asc16; ⅰ (a cell of
// its own in code page 936's grid) is half width.
const std::vector<BdfGlyph> kBdfGlyphs = {
    {0x4E2D, 16, 2, -1, kZhong},
    {'A', 8, 1, 0, kA},
    {'W', 10, 0, 0, kW},
    {0x2170, 8, 2, 0, kSmallRomanOne},
};

GlyphPicture cellPicture(const std::string& font, std::size_t index, Dots dots) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(font.data()) + index * glyphSize(dots);
  return decodeGlyph(std::span(bytes, glyphSize(dots)), dots, ByteLayout{});
}
GlyphPicture cellPicture(const std::string& font, std::size_t index, int width) { return cellPicture(font, index, {width, 16}); }

TEST(MkfontTest, BuildsBothFontsFromPlainOrGzippedHex) {
  const UnifontGlyph a = makeGlyph(8, 7);
  // Only 'A' and the euro count for asc16; only 中 and Ⅰ (a cell code page
  // 936 adds to the grid) for hzk16, not the control code nor 丂 outside it.
  const std::string first = hexLine(U'A', a) + hexLine(0x01, makeGlyph(8, 1)) + hexLine(0x20AC, makeGlyph(8, 2));
  const std::string second = kGb2312Line + hexLine(0x2170, makeGlyph(8, 3)) + hexLine(0x4E02, makeGlyph(16, 4));
  const struct {
    const char* name;
    std::string content;
  } inputs[] = {
      {"in.hex", first + second},
      {"in.hex.gz", gzipped(first + second)},
      {"gzipped.hex", gzipped(first + second)},
      {"members.gz", gzipped(first) + gzipped(second)},
  };
  std::string plainAsc, plainHzk;
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.name);
    TempDir tmp;
    writeFile(tmp.path() / input.name, input.content);
    const fs::path out = tmp.path() / "out";
    const auto r = runProcess(kMkfont, {"--unifont", (tmp.path() / input.name).string(), "--out=" + out.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "lumadot-mkfont: " + (tmp.path() / input.name).string() +
                         ": GNU Unifont, baseline at row 14\n"
                         "lumadot-mkfont: asc16: 2 of 96 characters found; missing U+0020  , U+0021 !, U+0022 \", "
                         "U+0023 #, U+0024 $ and 89 more\n"
                         "lumadot-mkfont: hzk16: 2 of 7478 characters found; missing U+3000 \u3000, U+3001 、, "
                         "U+3002 。, U+00B7 ·, U+02C9 ˉ and 7471 more\n"
                         "lumadot-mkfont: wrote " +
                         (out / "asc16").string() + " and " + (out / "hzk16").string() + "\n");
    EXPECT_EQ(listDir(out), (std::vector<std::string>{"asc16", "hzk16"}));
    const std::string asc = readFile(out / "asc16"), hzk = readFile(out / "hzk16");
    ASSERT_EQ(asc.size(), 4096u);
    ASSERT_EQ(hzk.size(), 282752u);
    EXPECT_EQ(bytesOf(asc.substr(0x41 * 16, 16)), unifontCell(a, 8));
    if (plainAsc.empty()) plainAsc = asc, plainHzk = hzk;
    EXPECT_TRUE(asc == plainAsc && hzk == plainHzk);
  }
}

TEST(MkfontTest, BuildsTheSameFontsFromBdfPcfAndGzippedPcf) {
  TempDir tmp;
  const fs::path bdfFile = tmp.path() / "t.bdf";
  writeFile(bdfFile, bdf(kBdfGlyphs));
  const auto pcf = runProcess("/bin/sh", {"-c", "bdftopcf -o \"$0.pcf\" \"$0.bdf\" && gzip -cn \"$0.pcf\" > \"$0.pcf.gz\"",
                                          (tmp.path() / "t").string()});
  ASSERT_EQ(pcf.exitCode, 0) << pcf.err;
  const auto build = [&](const std::string& file) {
    const auto r = runProcess(kMkfont, {"--font", (tmp.path() / file).string(), "--out", (tmp.path() / file).string() + ".out"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return std::pair(readFile(tmp.path() / (file + ".out") / "asc16"), readFile(tmp.path() / (file + ".out") / "hzk16"));
  };

  const auto r = runProcess(kMkfont, {"--font", bdfFile.string(), "--out", (tmp.path() / "out").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "lumadot-mkfont: " + bdfFile.string() + ": Test Regular, its 16-pixel bitmaps, baseline at row 14\n"
                   "lumadot-mkfont: asc16: 2 of 96 characters found; missing U+0020  , U+0021 !, U+0022 \", "
                   "U+0023 #, U+0024 $ and 89 more; 1 too big for the cell, scaled down to fit\n"
                   "lumadot-mkfont: hzk16: 2 of 7478 characters found; missing U+3000 \u3000, U+3001 、, "
                   "U+3002 。, U+00B7 ·, U+02C9 ˉ and 7471 more\n"
                   "lumadot-mkfont: wrote " + (tmp.path() / "out" / "asc16").string() + " and " +
                   (tmp.path() / "out" / "hzk16").string() + "\n");
  const std::string asc = readFile(tmp.path() / "out" / "asc16"), hzk = readFile(tmp.path() / "out" / "hzk16");
  // W, 10 dots wide, scaled by 8/10: columns 0-1, 4-5 and rows 0-1, 3-4 run together.
  const std::vector<std::string> smallW = {"#.....##", "#.##..#.", "##..###.", "#.....#.", "#.....#."};
  const GlyphPicture expected[] = {inkAt(kZhong, 16, 2, 1), inkAt(kSmallRomanOne, 16, 6, 6), inkAt(kA, 8, 1, 7),
                                   inkAt(smallW, 8, 0, 8)};
  EXPECT_EQ(cellPicture(hzk, 53 * 94 + 47, 16), expected[0]);
  EXPECT_EQ(cellPicture(hzk, 94, 16), expected[1]);  // ⅰ, A2A1
  EXPECT_EQ(cellPicture(asc, 'A', 8), expected[2]);
  EXPECT_EQ(cellPicture(asc, 'W', 8), expected[3]);
  int lit = 0, litExpected = 0;
  for (const char byte : asc + hzk) lit += std::popcount(static_cast<unsigned char>(byte));
  for (const auto& picture : expected) litExpected += picture.litCount();
  EXPECT_EQ(lit, litExpected);  // and nothing else

  for (const char* other : {"t.pcf", "t.pcf.gz"}) {
    SCOPED_TRACE(other);
    EXPECT_TRUE(build(other) == std::pair(asc, hzk));
  }
  // X11's GB2312 fonts number characters by grid row and column, each + 0x20.
  writeFile(tmp.path() / "gb.bdf", bdf({{0x5650, 16, 2, -1, kZhong}}, 16, "GB2312.1980", "0"));
  EXPECT_EQ(cellPicture(build("gb.bdf").second, 53 * 94 + 47, 16), inkAt(kZhong, 16, 2, 1));
}

TEST(MkfontTest, FailuresExitOneAndLeaveNoFonts) {
  const std::string gz = gzipped(kGb2312Line + kGb2312Line);
  std::string corrupt = gz;
  corrupt[corrupt.size() - 5] ^= 0x01;  // the CRC no longer matches
  const struct {
    const char* name;
    std::string content;  // of the input file in.hex; empty: no input file at all
    const char* out;
    const char* message;
    std::vector<std::string> option{"--unifont"};  // and what follows the input file
  } cases[] = {
      {"malformed", "0041:00\n", "out", "in.hex:1: expected CODE:HEX"},
      {"no glyphs", "# nothing\n", "out", "in.hex: no glyphs"},
      {"missing input", "", "out", "in.hex: cannot open"},
      {"out under a file", kGb2312Line, "in.hex/out", "cannot create directory"},
      {"no GB2312 glyph", "0041:00000000000000000000000000000000\n", "out",
       "in.hex: holds no glyph for any GB2312 character"},
      {"truncated gzip", gz.substr(0, gz.size() - 4), "out", "in.hex: the gzip data ends early"},
      {"corrupt gzip", corrupt, "out", "in.hex: corrupt gzip data"},
      {"gzip header only", gz.substr(0, 10), "out", "in.hex: the gzip data ends early"},
      {"font missing", "", "out", "in.hex: cannot open: No such file or directory", {"--font"}},
      {"not a font", kGb2312Line, "out", "in.hex: is not a font file FreeType can read", {"--font"}},
      {"truncated gzipped font", gz.substr(0, gz.size() - 4), "out", "in.hex: the gzip data ends early", {"--font"}},
      {"no such face", bdf(kBdfGlyphs), "out", "in.hex: has no face 1; its only face is 0", {"--font", "--face", "1"}},
      {"no 16-pixel size", bdf(kBdfGlyphs, 12), "out", "in.hex: has no 16-pixel size; its bitmaps are 12 pixels",
       {"--font"}},
      {"font without GB2312", bdf({kBdfGlyphs[1]}), "out", "in.hex: holds no glyph for any GB2312 character",
       {"--font"}},
      {"font without GBK", bdf({kBdfGlyphs[1]}), "out", "in.hex: holds no glyph for any GBK character",
       {"--font", "--charset", "gbk"}},
      {"bitmaps of another size", bdf(kBdfGlyphs), "out", "in.hex: has no 24-pixel size; its bitmaps are 16 pixels",
       {"--font", "--size", "24"}},
      {"Unifont at another height", kGb2312Line, "out",
       "in.hex: has no 24-pixel size; GNU Unifont's glyphs are 16 pixels", {"--unifont", "--size", "16x24"}},
      {"ascii font missing", bdf(kBdfGlyphs), "out", "nope.ttf: cannot open: No such file or directory",
       {"--font", "--ascii-font", "nope.ttf"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir tmp;
    if (!c.content.empty()) writeFile(tmp.path() / "in.hex", c.content);
    fs::create_directory(tmp.path() / "out");
    writeFile(tmp.path() / "out" / "asc16", "old");
    std::vector<std::string> args{c.option.front(), (tmp.path() / "in.hex").string()};
    args.insert(args.end(), c.option.begin() + 1, c.option.end());
    args.insert(args.end(), {"--out", (tmp.path() / c.out).string()});
    const auto r = runProcess(kMkfont, args);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("lumadot-mkfont: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(listDir(tmp.path() / "out"), std::vector<std::string>{"asc16"});
    EXPECT_EQ(readFile(tmp.path() / "out" / "asc16"), "old");
  }
}

TEST(MkfontTest, WriteFailingPartWayLeavesNoTemporaryFiles) {
  // A file size limit between the two fonts' sizes stands in for a full disk:
  // asc16 gets written, hzk16 does not.
  TempDir tmp;
  writeFile(tmp.path() / "in.hex", kGb2312Line);
  const auto r = runProcess("/bin/sh", {"-c", "ulimit -f 100; trap '' XFSZ; exec \"$0\" \"$@\"", kMkfont.string(),
                                        "--unifont", (tmp.path() / "in.hex").string(), "--out",
                                        (tmp.path() / "out").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("cannot write"), std::string::npos) << r.err;
  EXPECT_EQ(listDir(tmp.path() / "out"), std::vector<std::string>{});
}

TEST(MkfontTest, UsageErrorsExitTwoAndHelpExitsZero) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--unifont", "x.hex"},
      {"--out", "d"},
      {"--unifont", "x.hex", "--out"},
      {"--unifont", "--out", "d"},
      {"--unifont", "x.hex", "--out", "d", "--bogus"},
      {"--unifont", "x.hex", "--out", "d", "extra"},
      {"--font", "f.ttf", "--unifont", "x.hex", "--out", "d"},
      {"--unifont", "x.hex", "--face", "1", "--out", "d"},
      {"--font", "f.ttc", "--face", "-1", "--out", "d"},
      {"--font", "f.ttc", "--size", "7", "--out", "d"},
      {"--font", "f.ttc", "--size", "24x65", "--out", "d"},
      {"--font", "f.ttc", "--size", "big", "--out", "d"},
      {"--font", "f.ttc", "--charset", "big5", "--out", "d"},
      {"--font", "f.ttc", "--ascii-face", "1", "--out", "d"},
      {"--font", "f.ttc", "--ascii-font", "a.ttf", "--ascii-face", "x", "--out", "d"},
  };
  for (const auto& args : cases) {
    const auto r = runProcess(kMkfont, args);
    EXPECT_EQ(r.exitCode, 2) << testing::PrintToString(args);
    EXPECT_NE(r.err.find("usage: lumadot-mkfont"), std::string::npos) << r.err;
  }
  const auto help = runProcess(kMkfont, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--unifont", "--font", "--face", "--ascii-font", "--ascii-face", "--size", "--charset",
                             "--out", "--help", ".hex.gz", ".pcf.gz"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const auto version = runProcess(kMkfont, {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "lumadot-mkfont " + std::string(kVersion) + "\n");
}

TEST(MkfontTest, RealUnifontGivesItsGlyphs) {
  const fs::path unifont = LUMADOT_UNIFONT_HEX;
  if (!fs::exists(unifont)) GTEST_SKIP() << unifont << " not installed";
  TempDir tmp;
  const auto start = std::chrono::steady_clock::now();
  const auto r = runProcess(kMkfont, {"--unifont", unifont.string(), "--out", tmp.path().string()});
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // Far above the ~30 ms a release build takes; only quadratic work gets near it.
  EXPECT_LT(elapsed, std::chrono::seconds(5));
  const auto glyphs = loadUnifontHex(unifont).value();
  const auto asc = bytesOf(readFile(tmp.path() / "asc16"));
  const auto hzk = bytesOf(readFile(tmp.path() / "hzk16"));
  ASSERT_EQ(asc.size(), 4096u);
  ASSERT_EQ(hzk.size(), 282752u);
  EXPECT_EQ(slice<16>(asc, 'A'), unifontCell(glyphs.at(U'A'), 8));
  EXPECT_EQ(slice<32>(hzk, 53 * 94 + 47), vec(glyphs.at(U'中').bytes));
  // Unifont has drawn every character of the grid for a long time.
  EXPECT_NE(r.err.find("asc16: 96 of 96 characters found\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("hzk16: 7478 of 7478 characters found\n"), std::string::npos) << r.err;

  // The same from the .hex gzipped, from unifont.otf's outlines and from
  // unifont.pcf.gz's bitmaps: one placement rule serves every face.
  const fs::path gz = tmp.path() / "unifont.hex.gz";
  ASSERT_EQ(runProcess("/bin/sh", {"-c", "exec gzip -cn < \"$0\" > \"$1\"", unifont.string(), gz.string()}).exitCode,
            0);
  for (const auto& [option, file] : {std::pair("--unifont", gz.string()),
                                     {"--font", "/usr/share/fonts/opentype/unifont/unifont.otf"},
                                     {"--font", "/usr/share/fonts/X11/misc/unifont.pcf.gz"}}) {
    SCOPED_TRACE(file);
    const auto other = runProcess(kMkfont, {option, file, "--out", (tmp.path() / "other").string()});
    ASSERT_EQ(other.exitCode, 0) << other.err;
    EXPECT_TRUE(bytesOf(readFile(tmp.path() / "other" / "asc16")) == asc);
    EXPECT_TRUE(bytesOf(readFile(tmp.path() / "other" / "hzk16")) == hzk);
  }
}

// Every cell is the font's own 16-pixel bitmap, whole and on row 14's
// baseline, as FreeType hands it to the tests' own reader; only the column
// it starts at is the builder's to choose. lumadot-cli then reads it.
TEST(MkfontTest, ChineseBitmapFontsKeepTheirOwnDots) {
  const struct {
    const char* path;
    int face;
  } fonts[] = {
      {"/usr/share/fonts/truetype/arphic/uming.ttc", 0},
      {"/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 2},  // WenQuanYi Zen Hei Sharp
      {"/usr/share/fonts/X11/misc/wenquanyi_12pt.pcf", 0},
  };
  for (const auto& font : fonts) {
    SCOPED_TRACE(font.path);
    TempDir tmp;
    const auto r = runProcess(kMkfont, {"--font", font.path, "--face", std::to_string(font.face), "--out",
                                        tmp.path().string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("its 16-pixel bitmaps, baseline at row 14\n"), std::string::npos) << r.err;
    const std::string hzk = readFile(tmp.path() / "hzk16");
    test::FontBitmaps bitmaps(font.path, font.face);
    int compared = 0;
    for (std::size_t cell = 0; cell < 94 * 94; ++cell) {
      const char gb[2] = {static_cast<char>(0xA1 + cell / 94), static_cast<char>(0xA1 + cell % 94)};
      const auto character = fromAnsiBytes(std::string_view(gb, 2));
      if (!character) continue;
      const GlyphPicture ours = cellPicture(hzk, cell, 16);
      const GlyphPicture theirs = test::startingLike(bitmaps.glyph(*character).value_or(GlyphPicture{}), ours);
      EXPECT_EQ(ours, theirs) << "U+" << std::hex << static_cast<unsigned>(*character);
      compared += ours.litCount() > 0;
    }
    EXPECT_GT(compared, 7400);

    const auto cli = runProcess(LUMADOT_CLI_PATH, {"extract", "--font-dir", tmp.path().string(), "--format", "bin", "国"});
    ASSERT_EQ(cli.exitCode, 0) << cli.err;
    EXPECT_TRUE(cli.out == hzk.substr((24 * 94 + 89) * 32, 32));  // 国 is B9FA
  }
}

const fs::path kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
const fs::path kUming = "/usr/share/fonts/truetype/arphic/uming.ttc";
const fs::path kDejaVuMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

// lumadot-mkfont's fonts from `args` (and --out) in `dir`, its report returned.
std::string mkfont(std::vector<std::string> args, const fs::path& dir) {
  args.insert(args.end(), {"--out", dir.string()});
  const auto r = runProcess(kMkfont, args);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.err;
}

// Fonts at another size hold what the same font drawn at that size as it is
// asked for gives (whole, or scaled down to fit: see rendered_glyphs_test),
// read back by the programs' own lookup.
TEST(MkfontTest, OtherSizesHoldTheGlyphsTheFontDrawsAtThatSize) {
  const struct {
    const char* size;
    CellSize cell;
    const char* files[2];
    std::size_t sizes[2];  // 256 glyphs; 94 x 94
    fs::path ascii{};
  } cases[] = {
      {"24", {24, 24}, {"asc24", "hzk24"}, {256 * 2 * 24, 8836 * 3 * 24}},
      {"24x16", {24, 16}, {"asc24x16", "hzk24x16"}, {256 * 2 * 16, 8836 * 3 * 16}},
      {"24", {24, 24}, {"asc24", "hzk24"}, {256 * 2 * 24, 8836 * 3 * 24}, kDejaVuMono},
  };
  const std::u16string text = u"中国永和 AWgm%@€ Il1 龄";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size + c.ascii.string());
    TempDir tmp;
    std::vector<std::string> args{"--font", kZenHei.string(), "--size", c.size};
    if (!c.ascii.empty()) args.insert(args.end(), {"--ascii-font", c.ascii.string()});
    const std::string report = mkfont(args, tmp.path());
    EXPECT_NE(report.find("outlines rendered at " + std::to_string(c.cell.height) + " pixels"), std::string::npos);
    EXPECT_NE(report.find(std::string(c.files[0]) + ": 96 of 96 characters found; "), std::string::npos) << report;
    EXPECT_EQ(report.find("cut"), std::string::npos);  // every glyph whole, those too big scaled
    EXPECT_EQ(listDir(tmp.path()), (std::vector<std::string>{c.files[0], c.files[1]}));
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(fs::file_size(tmp.path() / c.files[i]), c.sizes[i]);
    auto rendered = RenderedGlyphs::open(kZenHei, 0, c.ascii, c.cell).value();
    const Glyphs built = lookUp(text, {}, FontPaths::inDirectory(tmp.path(), c.cell)).value();
    EXPECT_EQ(built, lookUp(text, {}, rendered).value());
    EXPECT_GT(std::count_if(built.bytes.begin(), built.bytes.end(), [](std::uint8_t b) { return b != 0; }), 100);
    // The same baselines, and the single-byte glyphs' font named with its own.
    const std::string said = rendered.description();
    EXPECT_NE(report.find(said.substr(said.find("baseline"), said.find(';') - said.find("baseline"))), std::string::npos);
    EXPECT_NE(report.find(said.substr(said.rfind("baseline"))), std::string::npos) << said;
  }
}

// gbk16 has a cell for characters GB2312 lacks, and its GB2312 places hold
// what hzk16 does.
TEST(MkfontTest, GbkGridHoldsEveryDoubleByteCharacterInItsPlace) {
  TempDir tmp;
  mkfont({"--font", kUming.string(), "--charset", "gbk"}, tmp.path() / "gbk");
  mkfont({"--font", kUming.string()}, tmp.path() / "gb2312");
  EXPECT_EQ(listDir(tmp.path() / "gbk"), (std::vector<std::string>{"asc16", "gbk16"}));
  const std::string gbk = readFile(tmp.path() / "gbk" / "gbk16"), hzk = readFile(tmp.path() / "gb2312" / "hzk16");
  ASSERT_EQ(gbk.size(), 126u * 190 * 32);
  EXPECT_TRUE(readFile(tmp.path() / "gbk" / "asc16") == readFile(tmp.path() / "gb2312" / "asc16"));
  for (std::size_t place = 0; place < gridPlaces(Charset::gb2312); ++place) {
    const auto gbkPlace = gridPlace(Charset::gbk, gridCode(Charset::gb2312, place)).value();
    ASSERT_TRUE(gbk.compare(gbkPlace * 32, 32, hzk, place * 32, 32) == 0) << place;
  }
  const auto glyphs = lookUp(u"體龍", {}, FontPaths::inDirectory(tmp.path() / "gbk", {}, Charset::gbk)).value();
  for (const char32_t c : {U'體', U'龍'}) {
    SCOPED_TRACE(static_cast<unsigned>(c));
    EXPECT_FALSE(gridPlace(Charset::gb2312, ansiCode(c)));
    const auto place = gridPlace(Charset::gbk, ansiCode(c)).value();
    EXPECT_EQ(cellPicture(gbk, place, 16), test::FontBitmaps(kUming, 0).glyph(c).value());
  }
  EXPECT_GT(std::count_if(glyphs.bytes.begin(), glyphs.bytes.end(), [](std::uint8_t b) { return b != 0; }), 20);
  const auto cli = runProcess(LUMADOT_CLI_PATH, {"extract", "--charset", "gbk", "--font-dir", (tmp.path() / "gbk").string(),
                                                 "--format", "bin", "體龍"});
  ASSERT_EQ(cli.exitCode, 0) << cli.err;
  EXPECT_TRUE(cli.out == std::string(glyphs.bytes.begin(), glyphs.bytes.end()));
  EXPECT_EQ(cli.err, "");
}

}  // namespace
}  // namespace lumadot
