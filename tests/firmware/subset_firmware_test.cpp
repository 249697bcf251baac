// The subset as a firmware uses it: lumadot-cli font writes the C source and
// header, sdcc builds them into subset_firmware.c, s51 runs it until it stops
// at finished(), and the glyph bytes it copied into XRAM are extract's bytes
// for the same text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/sign_simulator.h"
#include "support/installed_program.h"
#include "support/named_rows.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::runProcess;

const std::filesystem::path kCli = LUMADOT_CLI_PATH;
const std::string kText = "欢迎光临 Welcome";
constexpr std::size_t kBufferSize = 2048;  // as subset_firmware.c has it

// The text as the firmware holds it: GB2312 bytes in code memory.
std::string textHeader(const std::string& utf8) {
  const auto gb2312 = runProcess(test::installedProgram("iconv"), {"-f", "UTF-8", "-t", "GB2312"}, utf8);
  EXPECT_EQ(gb2312.exitCode, 0) << gb2312.err;
  std::string header = "__code unsigned char text[] = {";
  for (const char byte : gb2312.out) header += std::to_string(static_cast<unsigned char>(byte)) + ",";
  return header + "0};\n#define TEXT_LENGTH " + std::to_string(gb2312.out.size()) + "\n";
}

// Builds the firmware around fonts.c and fonts.h in `dir`.
std::filesystem::path buildFirmware(const std::filesystem::path& dir, bool scansColumns) {
  test::writeFile(dir / "text.h", textHeader(kText));
  test::build("sdcc", {"-mmcs51", "-c", (dir / "fonts.c").string(), "-o", (dir / "fonts.rel").string()});
  std::vector<std::string> args{"-mmcs51", "-I", dir.string()};
  if (scansColumns) args.push_back("-DSCAN_COLUMNS");
  args.insert(args.end(), {LUMADOT_FIRMWARE_SOURCE, (dir / "fonts.rel").string(), "-o", (dir / "firmware.ihx").string()});
  test::build("sdcc", args);
  return dir / "firmware.ihx";
}

struct Simulated {
  std::string buffer;  // the glyph buffer and the three bytes after it: filled (2, little-endian) and missing
  std::string log;
};

// Runs the firmware in s51 up to finished(), then dumps XRAM to a file. The
// run is a bounded number of steps, far more than the text takes, so a
// firmware gone astray stops too; the breakpoint says it arrived.
Simulated simulate(const std::filesystem::path& firmware) {
  const auto dir = firmware.parent_path();
  const auto finished = test::symbolAddress(dir / "firmware.map", "_finished");
  EXPECT_TRUE(finished) << "no _finished in the map file";
  const std::string stop = std::to_string(finished.value_or(0));
  const std::string commands = "break " + stop + "\nstep 5000000\ndump /b xram 0 " +
                               std::to_string(kBufferSize + 2) + " >" + (dir / "xram.bin").string() + "\nkill\n";
  const auto r = runProcess(test::installedProgram("s51"), {"-t", "C52", "-b", firmware.string()}, commands);
  EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
  EXPECT_NE(r.out.find(") Breakpoint"), std::string::npos) << "never reached finished():\n" << r.out << r.err;
  return {std::filesystem::exists(dir / "xram.bin") ? test::readFile(dir / "xram.bin") : std::string(), r.out};
}

struct Case {
  const char* name;
  std::vector<std::string> options;  // the size and layout, for font and extract alike
  bool scansColumns;
};

class SubsetFirmware : public ::testing::TestWithParam<Case> {};

TEST_P(SubsetFirmware, CopiesExtractsGlyphsOfTheText) {
  const Case& row = GetParam();
  test::TempDir dir;
  const auto fontDir = dir.path() / "fonts";
  std::filesystem::create_directory(fontDir);
  const bool big = row.options.front() == "--size";
  test::writeSyntheticFonts(fontDir, big ? CellSize{24, 24} : CellSize{}, Charset::gb2312);
  std::vector<std::string> options{"--font-dir", fontDir.string()};
  options.insert(options.end(), row.options.begin(), row.options.end());

  auto font = options;
  font.insert(font.begin(), "font");
  font.insert(font.end(), {"--format", "sdcc", "--header", (dir.path() / "fonts.h").string(), "--range", "0x20-0x7E",
                           "欢迎光临"});
  const auto source = runProcess(kCli, font);
  ASSERT_EQ(source.exitCode, 0) << source.err;
  EXPECT_EQ(source.err, "");
  test::writeFile(dir.path() / "fonts.c", source.out);

  auto extract = options;
  extract.insert(extract.begin(), "extract");
  extract.insert(extract.end(), {"--format", "bin", "--", kText});
  const auto expected = runProcess(kCli, extract);
  ASSERT_EQ(expected.exitCode, 0) << expected.err;
  ASSERT_LT(expected.out.size(), kBufferSize);

  const auto simulated = simulate(buildFirmware(dir.path(), row.scansColumns));
  ASSERT_EQ(simulated.buffer.size(), kBufferSize + 3) << simulated.log;
  EXPECT_EQ(simulated.buffer.substr(0, expected.out.size()), expected.out);
  EXPECT_EQ(simulated.buffer.substr(expected.out.size(), kBufferSize - expected.out.size()),
            std::string(kBufferSize - expected.out.size(), '\0'))
      << "bytes past the text's glyphs";
  const auto filled = static_cast<unsigned char>(simulated.buffer[kBufferSize]) |
                      static_cast<unsigned char>(simulated.buffer[kBufferSize + 1]) << 8;
  EXPECT_EQ(static_cast<std::size_t>(filled), expected.out.size());
  EXPECT_EQ(simulated.buffer[kBufferSize + 2], '\0') << "characters the firmware found no glyph for";
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SubsetFirmware,
    ::testing::Values(Case{"Rows16", {"--scan", "rows"}, false},
                      Case{"ColumnsLsbFirst16", {"--scan", "columns", "--lsb-first"}, true},
                      Case{"Rows24", {"--size", "24"}, false},
                      Case{"ColumnsLsbFirst24", {"--size", "24", "--scan", "columns", "--lsb-first"}, true}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot
