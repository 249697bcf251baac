// The font subset: which characters ranges and texts give, the map built from
// them (each code once, ascending), its C compiled by the host compiler and
// asked for every code, and lumadot-cli font as a user runs it, its assembler
// built by as31 and sdas8051.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "extract/ansi_code.h"
#include "extract/text_codec.h"
#include "subset/character_set.h"
#include "subset/font_subset.h"
#include "subset/subset_source.h"
#include "support/installed_program.h"
#include "support/intel_hex_reader.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::runProcess;

const std::filesystem::path kCli = LUMADOT_CLI_PATH;
const std::string kMono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";  // Latin only

struct RangeRow {
  const char* text;
  std::optional<CodeRange> range;  // nothing: refused
};

TEST(CodeRange, ReadsHexCodesAndCharactersAndRefusesTheRest) {
  const RangeRow rows[] = {
      {"0x20-0x7E", CodeRange{0x20, 0x7E}}, {"啊-齄", CodeRange{0xB0A1, 0xF7FE}},
      {"A-0x5A", CodeRange{0x41, 0x5A}},    {"---", CodeRange{0x2D, 0x2D}},
      {"0X8140-丂", CodeRange{0x8140, 0x8140}}, {"0x7E-0x20", std::nullopt},
      {"齄-啊", std::nullopt},              {"0x20", std::nullopt},
      {"0x20-", std::nullopt},              {"-0x20", std::nullopt},
      {"0xG1-0x7E", std::nullopt},          {"0x12345-0x1FFFF", std::nullopt},
      {"AB-Z", std::nullopt},               {"😀-0x20", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [text, range] : rows) {
    const auto parsed = parseCodeRange(text);
    ASSERT_EQ(parsed.has_value(), range.has_value()) << text;
    if (range) {
      EXPECT_EQ(std::pair(parsed->from, parsed->to), std::pair(range->from, range->to)) << text;
    } else {
      EXPECT_FALSE(parsed.error().text.empty()) << text;
    }
  }
}

std::vector<CharCode> codesOf(std::u16string_view characters) {
  std::vector<CharCode> codes;
  for (std::size_t pos = 0; pos < characters.size(); pos += characterLength(characters, pos)) {
    codes.push_back(charCode(ansiCode(characterAt(characters, pos))));
  }
  return codes;
}

struct CoverRow {
  CodeRange range;
  Charset charset;
  std::size_t count;  // characters the range covers
};

TEST(CodeRange, CoversTheCharactersOfTheGridInCodeOrder) {
  const CoverRow rows[] = {
      {{0x20, 0x7E}, Charset::gb2312, 95},
      {{0x09, 0x0E}, Charset::gb2312, 4},      // no CR, no LF
      {{0xB0A1, 0xF7FE}, Charset::gb2312, 6763},  // both levels of hanzi, none of the places between rows
      {{0x8140, 0x81FE}, Charset::gb2312, 0},  // GBK's own rows: outside the GB2312 grid
      {{0x8140, 0x81FE}, Charset::gbk, 190},
      {{0xD7F9, 0xD7FE}, Charset::gb2312, 1},  // the end of level 1 is unassigned
  };
  for (const auto& [range, charset, count] : rows) {
    SCOPED_TRACE(std::to_string(range.from) + "-" + std::to_string(range.to));
    const auto codes = codesOf(rangeCharacters(range, charset));
    EXPECT_EQ(codes.size(), count);
    EXPECT_TRUE(std::ranges::is_sorted(codes) && std::ranges::adjacent_find(codes) == codes.end());
    EXPECT_TRUE(std::ranges::all_of(codes, [&](CharCode c) { return c >= range.from && c <= range.to; }));
  }
}

TEST(FontSubset, HoldsEachCodeOnceInAscendingOrder) {
  EXPECT_EQ(distinctCharacters(u"迎欢\r\nA迎 A"), u" A欢迎");
  test::TempDir dir;
  const FontPaths fonts = test::writeSyntheticFonts(dir.path());
  const ByteLayout layout{Scan::columns, true, false};
  const auto glyphs = lookUp(u"迎A欢A迎", layout, fonts);
  ASSERT_TRUE(glyphs);
  const FontSubset subset = fontSubset(*glyphs);
  ASSERT_EQ(subset.glyphs.size(), 3u);
  EXPECT_EQ(subset.byteCount(), 16u + 32 + 32);
  for (const SubsetGlyph& glyph : subset.glyphs) {
    const auto alone = lookUp(glyph.character, layout, fonts);
    EXPECT_EQ(glyph.bytes, alone->bytes) << utf16ToUtf8(glyph.character);
  }
  EXPECT_EQ(codesOf(subset.glyphs[0].character + subset.glyphs[1].character + subset.glyphs[2].character),
            (std::vector<CharCode>{0x41, 0xBBB6, 0xD3AD}));
}

TEST(FontSubset, FitsSixteenBitOffsets) {
  const std::u16string hanzi = rangeCharacters({0xB0A1, 0xF7FE}, Charset::gb2312).substr(0, 2049);
  EXPECT_TRUE(checkSubsetSize(std::u16string_view(hanzi).substr(0, 2048), {}, Scan::rows));
  const auto over = checkSubsetSize(hanzi, {}, Scan::rows);
  ASSERT_FALSE(over);
  EXPECT_NE(over.error().text.find("65568 bytes, 32 more than"), std::string::npos) << over.error().text;
}

// The C as a host compiler builds it, code memory defined away, asked for
// every code in the subset and for codes around and between them.
TEST(SubsetSource, TheLookupFindsEveryCodeAndNoOther) {
  test::TempDir dir;
  const auto glyphs = lookUp(rangeCharacters({0x20, 0x7E}, Charset::gb2312) + u"欢迎光临丂", {},
                             test::writeSyntheticFonts(dir.path(), CellSize{}, Charset::gbk));
  ASSERT_TRUE(glyphs);
  const FontSubset subset = fontSubset(*glyphs);
  const std::vector<unsigned> absent{0x00, 0x1F, 0x7F, 0x80, 0x8141, 0xB0A1, 0xBBB5, 0xD3AE, 0xFFFF};
  std::string queries;
  for (const SubsetGlyph& glyph : subset.glyphs) queries += std::to_string(glyph.code) + "u,";
  for (const unsigned code : absent) queries += std::to_string(code) + "u,";
  test::writeFile(dir.path() / "main.c",
                  "#include <stdio.h>\n#include \"fonts.h\"\nstatic const unsigned q[] = {" + queries +
                      "};\nint main(void) {\n  for (unsigned i = 0; i < sizeof q / sizeof q[0]; ++i) {\n"
                      "    int k = HZ_find(q[i]);\n    printf(\"%d %u %u\\n\", k, k < 0 ? 0u : HZ_offsets[k],\n"
                      "           k < 0 ? 0u : (unsigned)HZ_bytes[HZ_offsets[k]]);\n  }\n  return 0;\n}\n");
  std::string expected;
  std::size_t offset = 0;
  for (std::size_t k = 0; k < subset.glyphs.size(); offset += subset.glyphs[k++].bytes.size()) {
    expected += std::to_string(k) + " " + std::to_string(offset) + " " + std::to_string(subset.glyphs[k].bytes[0]) + "\n";
  }
  for (std::size_t i = 0; i < absent.size(); ++i) expected += "-1 0 0\n";
  // GBK puts 丂's trail byte, '@', in a comment, and the file may end without its credit lines.
  const std::tuple<OutputFormat, const char*, SourceOptions> builds[] = {
      {OutputFormat::sdcc, "-D__code=", {}},
      {OutputFormat::c51, "-Dcode=", {}},
      {OutputFormat::c51, "-Dcode=", {false, SourceEncoding::gbk}},
  };
  for (const auto& [format, keyword, source] : builds) {
    const std::string fonts = subsetSource(format, subset, "HZ", source);
    EXPECT_EQ(fonts.find("//--------\x81\x40--------") != std::string::npos, source.encoding == SourceEncoding::gbk);
    EXPECT_EQ(fonts.find("Lumadot V") != std::string::npos, source.credit);
    test::writeFile(dir.path() / "fonts.c", fonts);
    test::writeFile(dir.path() / "fonts.h", subsetHeader(format, subset, "HZ"));
    const auto program = dir.path() / "find";
    test::build("gcc", {"-std=c99", "-Wall", "-Wextra", "-Werror", keyword, "-I", dir.path().string(),
                        (dir.path() / "main.c").string(), (dir.path() / "fonts.c").string(), "-o", program.string()});
    EXPECT_EQ(runProcess(program, {}).out, expected) << formatName(format);
  }
}

test::ProcessResult font(std::vector<std::string> args, const std::filesystem::path& fontDir) {
  args.insert(args.begin(), {"font", "--font-dir", fontDir.string()});
  return runProcess(kCli, args);
}

// The one line lumadot-cli writes of a C table: "unsigned int __code ZI_count = 2;".
std::string cLine(const std::string& source, const std::string& start) {
  const std::size_t at = source.find(start);
  return at == std::string::npos ? std::string() : source.substr(at, source.find("\r\n", at) - at);
}

struct CommandRow {
  std::vector<std::string> args;
  int exitCode;
  std::string count;  // ZI_count's line when it succeeds
  std::string err;    // in standard error
};

TEST(FontCommand, NamesWhatItLeavesOutAndRefusesWhatItCannotDo) {
  test::TempDir dir;
  test::writeSyntheticFonts(dir.path());
  test::writeFile(dir.path() / "chars.txt", "中\r\nA\n中");
  const std::string chars = (dir.path() / "chars.txt").string();
  test::writeFile(dir.path() / "utf16.txt", std::string("\x2D\x4E\x41\x00", 4));  // 中A, UTF-16 without its mark
  const std::string utf16 = (dir.path() / "utf16.txt").string();
  const CommandRow rows[] = {
      {{"中中A"}, 0, "unsigned int __code ZI_count = 2;", ""},
      {{"--chars-file", chars, "A"}, 0, "unsigned int __code ZI_count = 2;", ""},
      {{"中😀丂A"}, 0, "unsigned int __code ZI_count = 2;",
       "warning: no glyph, left out: 😀 (not in code page 936); 丂 (outside the grid of hzk16)\n"},
      {{"--range", "0x41-0x43", "--range", "0x61-0x61", "A"}, 0, "unsigned int __code ZI_count = 4;", ""},
      {{"--font", kMono, "A中"}, 0, "unsigned int __code ZI_count = 1;",
       "warning: no glyph, left out: 中 (not in " + kMono + ")\n"},
      {{"--chars-file", (dir.path() / "none").string()}, 1, "", "none: No such file"},
      {{"--chars-file", utf16}, 1, "",
       "utf16.txt holds a NUL at offset 3, which no typed text holds; it reads as UTF-16LE: add --encoding utf-16le"},
      {{"--encoding", "utf-16le", "--chars-file", utf16}, 0, "unsigned int __code ZI_count = 2;", ""},
      {{"--encoding", "gbk", "A"}, 2, "", "--encoding goes with --chars-file"},
      {{"--font", "/nonexistent/font.ttf", "A"}, 1, "", "/nonexistent/font.ttf"},
      {{"😀"}, 1, "", "no character given has a glyph"},
      {{"--range", "啊-齄"}, 1, "", "216416 bytes, 150880 more than the 65536"},
      {{}, 2, "", "give the characters"},
      {{"--range", "0x7E-0x20"}, 2, "", "runs backwards"},
      {{"--range", "0x20"}, 2, "", "not FROM-TO"},
      {{"--format", "hex", "A"}, 2, "", "unknown format 'hex'; choose a51, as31, sdas, c51 or sdcc"},
      {{"--format", "listing", "A"}, 2, "", "unknown format 'listing'"},
      {{"--format", "as31", "--header", "x.h", "A"}, 2, "", "--header goes with --format c51 or sdcc"},
      {{"--name", "ABCDEFGHIJKLMNOPQRSTUVWX", "A"}, 2, "", "at most 23"},
  };
  for (const auto& [args, exitCode, count, err] : rows) {
    SCOPED_TRACE(args.empty() ? "no arguments" : args.front() + " " + args.back());
    const auto r = font(args, dir.path());
    EXPECT_EQ(r.exitCode, exitCode) << r.err;
    EXPECT_EQ(cLine(r.out, "unsigned int __code ZI_count"), count);
    EXPECT_NE(r.err.find(err), std::string::npos) << r.err;
    if (exitCode == 0) {
      EXPECT_EQ(r.err.size(), err.empty() ? 0 : err.size() + 13) << r.err;  // "lumadot-cli: "
    } else {
      EXPECT_EQ(r.out, "");
    }
  }
}

// Words high byte first: the assemblers' own order, which both say in the file.
std::vector<std::uint8_t> bigEndian(const std::vector<unsigned>& words) {
  std::vector<std::uint8_t> bytes;
  for (const unsigned w : words) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w)});
  return bytes;
}

TEST(FontCommand, AssemblerTablesBuildWithAs31AndSdas) {
  test::TempDir dir;
  test::writeSyntheticFonts(dir.path());
  const auto glyphs = runProcess(kCli, {"extract", "--font-dir", dir.path().string(), "--format", "bin", "AB中"});
  std::vector<std::uint8_t> expected = bigEndian({3});
  expected.push_back(16);
  for (const auto& words : {std::vector<unsigned>{0x41, 0x42, 0xD6D0}, std::vector<unsigned>{0, 16, 32}}) {
    const auto bytes = bigEndian(words);
    expected.insert(expected.end(), bytes.begin(), bytes.end());
  }
  expected.insert(expected.end(), {8, 8, 16});
  expected.insert(expected.end(), glyphs.out.begin(), glyphs.out.end());
  const auto asm31 = font({"--format", "as31", "中BA"}, dir.path());
  const auto sdas = font({"--format", "sdas", "中BA"}, dir.path());
  EXPECT_NE(asm31.out.find("; .dw stores each word high byte first."), std::string::npos);
  test::writeFile(dir.path() / "as31.asm", asm31.out);
  test::writeFile(dir.path() / "sdas.asm", sdas.out);
  test::build("as31", {(dir.path() / "as31.asm").string()});
  test::build("sdas8051", {"-o", (dir.path() / "sdas.rel").string(), (dir.path() / "sdas.asm").string()});
  test::build("sdld", {"-i", (dir.path() / "sdas.ihx").string(), (dir.path() / "sdas.rel").string()});
  for (const auto* hex : {"as31.hex", "sdas.ihx"}) {
    const auto image = test::readIntelHex(test::readFile(dir.path() / hex));
    ASSERT_EQ(image.error, "") << hex;
    EXPECT_EQ(image.bytes.size(), expected.size()) << hex;
    EXPECT_EQ(image.at(0, expected.size()), expected) << hex;
  }
}

}  // namespace
}  // namespace lumadot
