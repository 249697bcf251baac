#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/version.h"
#include "mkfont/font_builder.h"
#include "mkfont/unifont_hex.h"
#include "support/process.h"

namespace lumadot {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::runProcess;
using test::TempDir;
using test::writeFile;

// A synthetic glyph whose every byte differs, so a misplaced row or half shows.
UnifontGlyph makeGlyph(int width, unsigned seed) {
  UnifontGlyph g;
  g.width = width;
  for (unsigned i = 0; i < static_cast<unsigned>(width) * 2; ++i) {
    g.bytes[i] = static_cast<std::uint8_t>(seed * 37 + i * 11 + 1);
  }
  return g;
}

std::string hexLine(char32_t code, const UnifontGlyph& g) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X:", static_cast<unsigned>(code));
  std::string line = buf;
  for (int i = 0; i < g.width * 2; ++i) {
    std::snprintf(buf, sizeof buf, "%02X", g.bytes[static_cast<std::size_t>(i)]);
    line += buf;
  }
  return line + "\n";
}

template <std::size_t N>
std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& font, std::size_t index) {
  const auto begin = font.begin() + static_cast<std::ptrdiff_t>(index * N);
  return {begin, begin + static_cast<std::ptrdiff_t>(N)};
}

template <std::size_t N>
std::vector<std::uint8_t> vec(const std::array<std::uint8_t, N>& a) { return {a.begin(), a.end()}; }

std::vector<std::uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

Result<UnifontGlyphs> parse(const std::string& text) {
  std::istringstream in(text);
  return parseUnifontHex(in, "t.hex");
}

TEST(UnifontHexTest, ParsesBothWidthsSkippingBlankAndCommentLines) {
  const UnifontGlyph narrow = makeGlyph(8, 1), wide = makeGlyph(16, 2), later = makeGlyph(8, 3);
  std::string crlfLine = hexLine(0x10FFFF, narrow);
  crlfLine.insert(crlfLine.size() - 1, "\r");
  std::string lower = hexLine(0x4E2D, wide);
  for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto result = parse("# comment\n\n" + hexLine(0x41, narrow) + lower + crlfLine + hexLine(0x41, later));
  ASSERT_TRUE(result) << result.error().text;
  EXPECT_EQ(result->size(), 3u);
  EXPECT_EQ(result->at(0x41), later);  // a repeated code: the later line wins
  EXPECT_EQ(result->at(0x4E2D), wide);
  EXPECT_EQ(result->at(0x10FFFF), narrow);
}

TEST(UnifontHexTest, RejectsMalformedLinesNamingTheLine) {
  const std::string good = hexLine(0x41, makeGlyph(8, 1));
  const struct {
    std::string line;
    const char* mentions;
  } cases[] = {
      {"0041", "':'"},
      {"041:00000000000000000000000000000000", "code"},
      {"1000041:00000000000000000000000000000000", "code"},
      {"00G1:00000000000000000000000000000000", "00G1"},
      {"110000:00000000000000000000000000000000", "10FFFF"},
      {"0041:", "0 characters"},
      {"0041:0000000000000000000000000000000", "31 characters"},
      {"0041:000000000000000000000000000000000", "33 characters"},
      {"0041:000000000000000000000000000000000000000000000000000000000000000", "63 characters"},
      {"0041:0000000000000000000000000000000Z", "'Z' at column 37"},
      {"0041: 0000000000000000000000000000000", "' '"},
      {std::string(5000, '\0'), "longer than 4096 characters"},  // a binary file is not read to its end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto result = parse(good + "\n" + c.line + "\n" + good);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().text.rfind("t.hex:3: ", 0), 0u) << result.error().text;
    EXPECT_NE(result.error().text.find(c.mentions), std::string::npos) << result.error().text;
  }
}

TEST(UnifontHexTest, FileWithoutGlyphsOrUnreadableIsAnError) {
  for (const std::string& text : {std::string(), std::string("# only a comment\n\n"), "#" + std::string(9000, 'x')}) {
    const auto result = parse(text);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().text, "t.hex: no glyphs found");
  }
  TempDir dir;
  for (const fs::path& path : {dir.path() / "missing.hex", dir.path()}) {
    const auto result = loadUnifontHex(path);
    ASSERT_FALSE(result) << path;
    EXPECT_EQ(result.error().text.rfind(path.string() + ": ", 0), 0u) << result.error().text;
  }
}

TEST(FontBuilderTest, GlyphsFitTheirCells) {
  UnifontGlyph narrow{8, {}}, wide{16, {}};
  narrow.bytes[0] = 0xA5;
  wide.bytes[0] = 0xAB;  // row 0 is 0xABCD: its middle 8 dots are 0xBC
  wide.bytes[1] = 0xCD;
  EXPECT_EQ(hzk16Cell(narrow)[0], 0x0A);
  EXPECT_EQ(hzk16Cell(narrow)[1], 0x50);
  EXPECT_EQ(hzk16Cell(wide), wide.bytes);
  EXPECT_EQ(asc16Glyph(narrow)[0], 0xA5);
  EXPECT_EQ(asc16Glyph(wide)[0], 0xBC);
}

TEST(FontBuilderTest, Asc16HoldsPrintableAsciiAndTheEuroOnly) {
  UnifontGlyphs glyphs;
  for (char32_t c = 0; c < 0x100; ++c) glyphs[c] = makeGlyph(8, static_cast<unsigned>(c));
  glyphs.erase(U'B');
  glyphs[0x20AC] = makeGlyph(8, 999);
  const auto built = buildAsc16(glyphs);
  const auto& font = built.bytes;
  ASSERT_EQ(font.size(), 4096u);
  EXPECT_EQ(built.wanted, 96u);  // 95 printable characters and the euro
  EXPECT_EQ(built.found, 95u);
  for (unsigned c = 0; c < 256; ++c) {
    SCOPED_TRACE(c);
    const bool blank = c < 0x20 || c == 0x7F || c == 'B' || c > 0x80;
    const UnifontGlyph expected = blank ? UnifontGlyph{8, {}} : makeGlyph(8, c == 0x80 ? 999 : c);
    EXPECT_EQ(slice<16>(font, c), vec(asc16Glyph(expected)));
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
  const auto built = buildHzk16(glyphs);
  const auto& font = built.bytes;
  ASSERT_EQ(font.size(), 282752u);
  EXPECT_EQ(built.found, 4u);
  EXPECT_EQ(built.wanted, 7478u);  // GB2312's 7,445 and code page 936's own 33
  std::vector<std::uint8_t> expected(font.size(), 0);
  for (const auto& p : placed) {
    const auto cell = hzk16Cell(glyphs[p.code]);
    std::copy(cell.begin(), cell.end(), expected.begin() + ((p.row - 1) * 94 + p.col - 1) * 32);
  }
  EXPECT_EQ(slice<32>(font, 53 * 94 + 47), vec(glyphs[U'中'].bytes));
  EXPECT_TRUE(font == expected);
}

TEST(FontBuilderTest, WriteFontFilesReplacesBothOrNeither) {
  TempDir tmp;
  const fs::path dir = tmp.path() / "a" / "b";
  const std::vector<std::uint8_t> asc(kAsc16Size, 1), hzk(kHzk16Size, 2);
  ASSERT_TRUE(writeFontFiles(dir, asc, hzk));
  EXPECT_EQ(bytesOf(readFile(dir / "asc16")), asc);
  EXPECT_EQ(bytesOf(readFile(dir / "hzk16")), hzk);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);
  ASSERT_TRUE(writeFontFiles(dir, hzk, asc));
  EXPECT_EQ(bytesOf(readFile(dir / "asc16")), hzk);
  EXPECT_EQ(bytesOf(readFile(dir / "hzk16")), asc);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 2);

  // The second rename fails: the first font it created must go too.
  const fs::path blocked = tmp.path() / "blocked";
  fs::create_directories(blocked / "hzk16" / "x");
  EXPECT_NE(writeFontFiles(blocked, asc, hzk).error().text.find("hzk16"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(blocked), {}), 1);

  writeFile(tmp.path() / "file", "x");
  EXPECT_NE(writeFontFiles(tmp.path() / "file" / "sub", asc, hzk).error().text.find("file"), std::string::npos);
}

// The executable, end to end.
const fs::path kMkfont = LUMADOT_MKFONT_PATH;

std::vector<std::string> listDir(const fs::path& dir) {
  std::vector<std::string> names;
  if (fs::is_directory(dir)) {
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Compressed by the gzip program rather than the zlib calls the reader makes.
std::string gzipped(const std::string& text) {
  const auto r = runProcess("/bin/sh", {"-c", "exec gzip -cn"}, text);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  return r.out;
}

const std::string kGb2312Line = hexLine(U'中', makeGlyph(16, 8));

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
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "lumadot-mkfont: wrote " + (out / "asc16").string() + " (2 of 96 glyphs) and " +
                         (out / "hzk16").string() + " (2 of 7478 glyphs in the GB2312 grid)\n");
    EXPECT_EQ(listDir(out), (std::vector<std::string>{"asc16", "hzk16"}));
    const std::string asc = readFile(out / "asc16"), hzk = readFile(out / "hzk16");
    ASSERT_EQ(asc.size(), 4096u);
    ASSERT_EQ(hzk.size(), 282752u);
    EXPECT_EQ(bytesOf(asc.substr(0x41 * 16, 16)), vec(asc16Glyph(a)));
    if (plainAsc.empty()) plainAsc = asc, plainHzk = hzk;
    EXPECT_TRUE(asc == plainAsc && hzk == plainHzk);
  }
}

TEST(MkfontTest, FailuresExitOneAndLeaveNoFonts) {
  const std::string gz = gzipped(kGb2312Line + kGb2312Line);
  std::string corrupt = gz;
  corrupt[corrupt.size() - 5] ^= 0x01;  // the CRC no longer matches
  const struct {
    const char* name;
    std::string hex;  // empty: no input file at all
    const char* out;
    const char* message;
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir tmp;
    if (!c.hex.empty()) writeFile(tmp.path() / "in.hex", c.hex);
    fs::create_directory(tmp.path() / "out");
    writeFile(tmp.path() / "out" / "asc16", "old");
    const auto r =
        runProcess(kMkfont, {"--unifont", (tmp.path() / "in.hex").string(), "--out", (tmp.path() / c.out).string()});
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
  };
  for (const auto& args : cases) {
    const auto r = runProcess(kMkfont, args);
    EXPECT_EQ(r.exitCode, 2) << testing::PrintToString(args);
    EXPECT_NE(r.err.find("usage: lumadot-mkfont"), std::string::npos) << r.err;
  }
  const auto help = runProcess(kMkfont, {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* option : {"--unifont", "--out", "--help", ".hex.gz"}) {
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
  EXPECT_EQ(slice<16>(asc, 'A'), vec(asc16Glyph(glyphs.at(U'A'))));
  EXPECT_EQ(slice<32>(hzk, 53 * 94 + 47), vec(glyphs.at(U'中').bytes));
  // Unifont has drawn every character of the grid for a long time.
  EXPECT_NE(r.out.find("(96 of 96 glyphs) and "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("(7478 of 7478 glyphs in the GB2312 grid)"), std::string::npos) << r.out;

  const fs::path gz = tmp.path() / "unifont.hex.gz";
  ASSERT_EQ(runProcess("/bin/sh", {"-c", "exec gzip -cn < \"$0\" > \"$1\"", unifont.string(), gz.string()}).exitCode,
            0);
  const auto fromGz = runProcess(kMkfont, {"--unifont", gz.string(), "--out", (tmp.path() / "gz").string()});
  ASSERT_EQ(fromGz.exitCode, 0) << fromGz.err;
  EXPECT_TRUE(bytesOf(readFile(tmp.path() / "gz" / "asc16")) == asc);
  EXPECT_TRUE(bytesOf(readFile(tmp.path() / "gz" / "hzk16")) == hzk);
}

}  // namespace
}  // namespace lumadot
