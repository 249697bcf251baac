// The output formats as a sign builder uses them: lumadot-cli writes a file,
// the real 8051 toolchain from Debian builds it, and the bytes that land in
// the Intel HEX are the glyph bytes of the listing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/installed_program.h"
#include "support/intel_hex_reader.h"
#include "support/named_rows.h"
#include "support/process.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::runProcess;

const std::filesystem::path kCli = LUMADOT_CLI_PATH;

// The glyph bytes as the listing writes them: every "XXH," of its data lines.
// A header line is a comment, or its rest after a lone line feed of the text.
std::vector<std::uint8_t> listingBytes(const std::string& listing) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t pos = 0; pos < listing.size();) {
    std::size_t end = listing.find("\r\n", pos);
    if (end == std::string::npos) end = listing.size();
    std::string line = listing.substr(pos, end - pos);
    pos = end + 2;
    if (line.empty() || line.front() == ';' || line.rfind("--------", 0) == 0) continue;
    if (line.rfind("DB  ", 0) == 0) line.erase(0, 4);
    for (std::size_t at = 0; at < line.size();) {
      const std::size_t h = line.find("H,", at);
      EXPECT_NE(h, std::string::npos) << line;
      if (h == std::string::npos) break;
      bytes.push_back(static_cast<std::uint8_t>(std::stoul(line.substr(at, h - at), nullptr, 16)));
      at = h + 2;
    }
  }
  return bytes;
}

test::ProcessResult extract(const std::vector<std::string>& options, const std::string& text) {
  std::vector<std::string> args{"extract"};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), {"--", text});
  return runProcess(kCli, args);
}

using test::build;

struct Toolchain {
  const char* name;
  std::vector<std::string> formatOptions;
  const char* fileName;
  // Builds the file lumadot-cli wrote in `dir` and returns the Intel HEX it made.
  std::string (*hexOf)(const std::filesystem::path& dir);
};

std::string as31Hex(const std::filesystem::path& dir) {
  build("as31", {(dir / "glyphs.asm").string()});
  return test::readFile(dir / "glyphs.hex");
}

std::string sdasHex(const std::filesystem::path& dir) {
  build("sdas8051", {"-o", (dir / "glyphs.rel").string(), (dir / "glyphs.asm").string()});
  build("sdld", {"-i", (dir / "glyphs.ihx").string(), (dir / "glyphs.rel").string()});
  return test::readFile(dir / "glyphs.ihx");
}

std::string sdccHex(const std::filesystem::path& dir) {
  build("sdcc", {"-mmcs51", "-c", (dir / "glyphs.c").string(), "-o", (dir / "glyphs.rel").string()});
  build("sdld", {"-i", (dir / "glyphs.ihx").string(), (dir / "glyphs.rel").string()});
  return test::readFile(dir / "glyphs.ihx");
}

std::string ownHex(const std::filesystem::path& dir) { return test::readFile(dir / "glyphs.hex"); }

class CliToolchain : public ::testing::TestWithParam<Toolchain> {};

// Single- and double-byte glyphs, bytes that start with a letter (中 has F8H),
// and a tab and a lone line feed, which become entries of their own.
const std::string kMixedText = "中A\t文\nZ!";

TEST_P(CliToolchain, BuildsTheListingsBytesUnderEveryOption) {
  const auto& chain = GetParam();
  const std::vector<std::vector<std::string>> optionSets{{}, {"--reverse"}, {"--split"}, {"--reverse", "--split"}};
  for (const auto& options : optionSets) {
    SCOPED_TRACE(options.empty() ? "no options" : options.front() + (options.size() > 1 ? " --split" : ""));
    const auto listing = extract(options, kMixedText);
    ASSERT_EQ(listing.exitCode, 0) << listing.err;
    const auto expected = listingBytes(listing.out);
    ASSERT_EQ(expected.size(), 2u * 32 + 5u * 16);

    auto args = options;
    args.insert(args.end(), chain.formatOptions.begin(), chain.formatOptions.end());
    const auto source = extract(args, kMixedText);
    ASSERT_EQ(source.exitCode, 0) << source.err;
    EXPECT_EQ(source.err, "");
    test::TempDir dir;
    test::writeFile(dir.path() / chain.fileName, source.out);

    const auto image = test::readIntelHex(chain.hexOf(dir.path()));
    ASSERT_EQ(image.error, "");
    EXPECT_EQ(image.bytes.size(), expected.size()) << "nothing but the glyph bytes";
    EXPECT_EQ(image.at(0, expected.size()), expected);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, CliToolchain,
    ::testing::Values(Toolchain{"As31", {"--format", "as31"}, "glyphs.asm", as31Hex},
                      Toolchain{"As31Named", {"--format", "as31", "--name", "hz_16"}, "glyphs.asm", as31Hex},
                      Toolchain{"As31Gbk", {"--format", "as31", "--output-encoding", "gbk"}, "glyphs.asm", as31Hex},
                      Toolchain{"Sdas", {"--format", "sdas"}, "glyphs.asm", sdasHex},
                      Toolchain{"SdasGbkNoCredit", {"--format", "sdas", "--output-encoding", "gbk", "--no-credit"},
                                "glyphs.asm", sdasHex},
                      Toolchain{"Sdcc", {"--format", "sdcc"}, "glyphs.c", sdccHex},
                      Toolchain{"SdccTable", {"--format", "sdcc", "--table", "--name", "FONT"}, "glyphs.c", sdccHex},
                      Toolchain{"SdccGbkNoCredit", {"--format", "sdcc", "--output-encoding", "gbk", "--no-credit"},
                                "glyphs.c", sdccHex},
                      Toolchain{"IntelHex", {"--format", "hex"}, "glyphs.hex", ownHex}),
    [](const auto& row) { return std::string(row.param.name); });

// Keil on a Chinese Windows reads GBK: every text the tool prints is iconv's GBK of its UTF-8, and
// without credit lines a source ends with its last glyph.
TEST(CliFormat, GbkIsTheUtf8ThroughIconv) {
  const std::vector<std::vector<std::string>> runs{
      {"extract", "中A"}, {"extract", "--format", "c51", "中A"}, {"font", "--format", "a51", "中A"}};
  for (const auto& args : runs) {
    SCOPED_TRACE(args[args.size() - 2]);
    const auto utf8 = runProcess(kCli, args);
    auto gbkArgs = args;
    gbkArgs.insert(gbkArgs.begin() + 1, {"--output-encoding", "gbk"});
    const auto gbk = runProcess(kCli, gbkArgs);
    ASSERT_EQ(gbk.exitCode, 0) << gbk.err;
    const auto converted = runProcess(test::installedProgram("iconv"), {"-f", "UTF-8", "-t", "GBK"}, utf8.out);
    EXPECT_EQ(gbk.out, converted.out);
    EXPECT_NE(gbk.out.find("\xD6\xD0"), std::string::npos);  // 中
    if (args.size() == 2) continue;  // the listing keeps its credit lines
    gbkArgs.insert(gbkArgs.begin() + 1, "--no-credit");
    const auto bare = runProcess(kCli, gbkArgs);
    ASSERT_EQ(bare.exitCode, 0) << bare.err;
    const std::size_t credits = gbk.out.rfind("\r\n\r\n");
    EXPECT_EQ(bare.out, gbk.out.substr(0, credits + 2));
  }
}

TEST(CliFormat, BinIsTheListingsBytesRaw) {
  const auto listing = extract({"--reverse"}, kMixedText);
  const auto bin = extract({"--reverse", "--format", "bin"}, kMixedText);
  ASSERT_EQ(bin.exitCode, 0) << bin.err;
  const auto expected = listingBytes(listing.out);
  EXPECT_EQ(bin.out, std::string(expected.begin(), expected.end()));
}

// The first `count` level-1 hanzi of GB2312 (rows B0 on, all defined), as UTF-8.
std::string hanzi(std::size_t count) {
  std::string gb2312;
  for (int row = 0xB0; gb2312.size() < count * 2; ++row) {
    for (int cell = 0xA1; cell <= 0xFE && gb2312.size() < count * 2; ++cell) {
      gb2312 += {static_cast<char>(row), static_cast<char>(cell)};
    }
  }
  const auto text = runProcess(test::installedProgram("iconv"), {"-f", "GB2312", "-t", "UTF-8"}, gb2312);
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out.size(), count * 3);
  return text.out;
}

TEST(CliFormat, LargeTextsBuildToTheLastAddress) {
  // 2,048 glyphs fill all 64 KiB, the top of the HEX format's 16-bit
  // addresses. as31 stops one glyph short of that: it refuses a location
  // counter that reaches 10000H even after the last byte.
  const Toolchain chains[] = {{"IntelHex", {"--format", "hex"}, "glyphs.hex", ownHex},
                              {"As31", {"--format", "as31"}, "glyphs.asm", as31Hex}};
  for (const auto& [chain, count] : {std::pair{chains[0], 2048u}, std::pair{chains[1], 2047u}}) {
    SCOPED_TRACE(chain.name);
    const std::string text = hanzi(count);
    const auto expected = listingBytes(extract({}, text).out);
    ASSERT_EQ(expected.size(), count * 32);
    const auto source = extract(chain.formatOptions, text);
    ASSERT_EQ(source.exitCode, 0) << source.err;
    test::TempDir dir;
    test::writeFile(dir.path() / chain.fileName, source.out);
    const auto image = test::readIntelHex(chain.hexOf(dir.path()));
    ASSERT_EQ(image.error, "");
    EXPECT_EQ(image.bytes.size(), expected.size());
    EXPECT_EQ(image.at(0, expected.size()), expected);
  }
}

TEST(CliFormat, SendsTheFrameAndPrintsTheFormat) {
  test::TempDir dir;
  const auto frame = dir.path() / "frame.bin";
  const auto r = extract({"--format", "hex", "--frame-out", frame.string()}, "中A");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "lumadot-cli: wrote 593 bytes to " + frame.string() + "\n");
  const auto image = test::readIntelHex(r.out);
  ASSERT_EQ(image.error, "");
  const auto glyphs = image.at(0, 48);
  ASSERT_TRUE(glyphs);
  EXPECT_EQ(test::readFile(frame).substr(256, 48), std::string(glyphs->begin(), glyphs->end()));
}

TEST(CliFormat, AFailedRunPrintsNoFormat) {
  test::TempDir empty;
  for (const auto format : {"as31", "c51", "bin", "hex"}) {
    const auto r = extract({"--font-dir", empty.path().string(), "--format", format}, "中A");
    EXPECT_EQ(r.exitCode, 1) << format;
    EXPECT_EQ(r.out, "") << format;
    EXPECT_NE(r.err.find("无法打开字库文件"), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace lumadot
