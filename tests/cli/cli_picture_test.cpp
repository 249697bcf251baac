// lumadot-cli picture on pictures written by the libraries that read them,
// held against extract on the synthetic fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/named_rows.h"
#include "support/picture_files.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::runProcess;

const std::filesystem::path kCli = LUMADOT_CLI_PATH;

// The dots of `text` as preview draws them from the fonts in `fontDir`, one '#' or '.' a dot.
std::vector<std::string> previewRows(const std::filesystem::path& fontDir, const std::string& text) {
  const auto r = runProcess(kCli, {"preview", "--ascii", "--width", "0", "--font-dir", fontDir.string(), text});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::string> rows;
  std::istringstream lines(r.out);
  for (std::string line; std::getline(lines, line);) rows.push_back(line);
  return rows;
}

class CliPictureLayouts : public ::testing::TestWithParam<std::vector<std::string>> {
 protected:
  static void SetUpTestSuite() {
    fonts = new test::TempDir;
    test::writeSyntheticFonts(fonts->path());
  }
  static void TearDownTestSuite() { delete fonts; }
  static test::TempDir* fonts;
};
test::TempDir* CliPictureLayouts::fonts = nullptr;

// 中A's dots, one pixel a dot, black on white, as PNG and as BMP: the same
// bytes as extract gives 中A, in every layout and format, and the same frame.
TEST_P(CliPictureLayouts, PictureOfATextGivesItsBytes) {
  const auto dots = test::drawnPicture(previewRows(fonts->path(), "中A"));
  ASSERT_EQ(dots.width, 24);
  test::TempDir dir;
  test::writeFile(dir.path() / "zhong.png", test::pngFile(dots));
  test::writeFile(dir.path() / "zhong.bmp", test::bmpFile(dots, {1}));
  std::vector<std::string> extract{"extract", "--font-dir", fonts->path().string(), "中A"};
  extract.insert(extract.end(), GetParam().begin(), GetParam().end());
  const auto expected = runProcess(kCli, extract);
  ASSERT_EQ(expected.exitCode, 0) << expected.err;
  for (const char* file : {"zhong.png", "zhong.bmp"}) {
    std::vector<std::string> picture{"picture", (dir.path() / file).string()};
    picture.insert(picture.end(), GetParam().begin(), GetParam().end());
    const auto r = runProcess(kCli, picture);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, expected.out) << file;  // a listing's headers differ: only formats without them here
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, CliPictureLayouts,
                         ::testing::Values(std::vector<std::string>{"--format", "bin"},
                                           std::vector<std::string>{"--format", "hex", "--scan", "columns",
                                                                    "--lsb-first"},
                                           std::vector<std::string>{"--format", "bin", "--split", "--negative"},
                                           std::vector<std::string>{"--format", "bin", "--scan", "column-bands"}),
                         [](const auto& row) { return "Row" + std::to_string(row.index); });

TEST_F(CliPictureLayouts, FrameAndListingOfAPicture) {
  const auto dots = test::drawnPicture(previewRows(fonts->path(), "中A"));
  test::TempDir dir;
  test::writeFile(dir.path() / "zhong.gif", test::gifFile(dots));
  const auto text = runProcess(kCli, {"extract", "--font-dir", fonts->path().string(), "--frame-out",
                                      (dir.path() / "text.bin").string(), "中A"});
  const auto picture = runProcess(
      kCli, {"picture", "--frame-out", (dir.path() / "picture.bin").string(), (dir.path() / "zhong.gif").string()});
  EXPECT_EQ(picture.exitCode, 0) << picture.err;
  EXPECT_EQ(picture.err, "lumadot-cli: wrote 593 bytes to " + (dir.path() / "picture.bin").string() + "\n");
  EXPECT_EQ(test::readFile(dir.path() / "picture.bin"), test::readFile(dir.path() / "text.bin"));
  const auto listed = runProcess(kCli, {"picture", (dir.path() / "zhong.gif").string()});
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_EQ(listed.out.find("\r\n;--------图1--------字模结构：　16*16　点阵\r\nDB  "), 0U);
  EXPECT_NE(listed.out.find(";--------图2--------字模结构：　8*16　点阵"), std::string::npos);
}

struct FailureCase {
  const char* name;
  std::function<std::string()> file;
  std::vector<std::string> options;
  int exitCode;
  std::string err;  // after "lumadot-cli: FILE"
};

class CliPictureFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CliPictureFailures, OneClearLine) {
  test::TempDir dir;
  const std::string path = (dir.path() / "in.img").string();
  test::writeFile(path, GetParam().file());
  std::vector<std::string> args{"picture", path};
  args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
  const auto r = runProcess(kCli, args);
  EXPECT_EQ(r.exitCode, GetParam().exitCode);
  EXPECT_EQ(r.out, "");
  const std::string line = "lumadot-cli: " + (GetParam().exitCode == 1 ? path : "") + GetParam().err + "\n";
  // A usage error's line is followed by the usage; a failure's stands alone.
  EXPECT_EQ(GetParam().exitCode == 1 ? r.err : r.err.substr(0, line.size()), line);
}

const RgbaPicture kBlack16 = test::greyPicture(24, 16, 0);

INSTANTIATE_TEST_SUITE_P(
    Files, CliPictureFailures,
    ::testing::Values(
        FailureCase{"Truncated", [] { return test::pngFile(kBlack16).substr(0, 50); }, {}, 1, ": the PNG is truncated"},
        FailureCase{"NotAPicture", [] { return std::string("GIF8"); }, {}, 1, ": not a PNG, BMP, GIF or JPEG picture"},
        FailureCase{"Damaged",
                    [] {
                      std::string file = test::jpegFile(kBlack16);
                      file.at(file.find("\xFF\xC0") + 4) = '\x07';  // the frame's sample precision
                      return file;
                    },
                    {},
                    1,
                    ": the JPEG is damaged (Unsupported JPEG data precision 7)"},
        FailureCase{"SixtyFiveRows",
                    [] { return test::pngFile(test::greyPicture(8, 65, 0)); },
                    {},
                    1,
                    ": the picture is 65 dots high; a glyph is at most 64; scale it down with --height N"},
        FailureCase{
            "TooWideForAFrame",
            [] { return test::pngFile(test::greyPicture(3952, 16, 0)); },
            {"--frame-out", "/dev/null"},
            1,
            ": the picture is 494 8-dot columns wide; a frame carries at most 493: scale it down with --size WxH"},
        FailureCase{
            "NotSixteenRowsToSend",
            [] { return test::pngFile(test::greyPicture(8, 24, 0)); },
            {"--frame-out", "/dev/null"},
            2,
            "the sign shows 16-dot glyphs, so a picture 24 dots high cannot be sent; scale it with --height 16"}),
    [](const auto& row) { return std::string(row.param.name); });

// --height scales to 16 rows: a 48 x 96 picture, its top half black, gives 8 x 16 dots, the top 8 rows lit.
TEST(CliPicture, ScaledDrawnAndWritten) {
  test::TempDir dir;
  RgbaPicture picture = test::greyPicture(48, 96, 0xFF);
  std::fill(picture.rgba.begin(), picture.rgba.begin() + 48 * 48 * 4, std::uint8_t{0});
  for (std::size_t i = 3; i < picture.rgba.size(); i += 4) picture.rgba[i] = 0xFF;
  test::writeFile(dir.path() / "half.png", test::pngFile(picture));
  const auto r =
      runProcess(kCli, {"picture", "--preview", "--ascii", "--height", "16", (dir.path() / "half.png").string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::string rows;
  for (int y = 0; y < 16; ++y) rows += std::string(8, y < 8 ? '#' : '.') + "\n";
  EXPECT_EQ(r.out, rows);
  const auto png = runProcess(kCli, {"picture", "--png", (dir.path() / "out.png").string(), "--scale", "2", "--size",
                                     "16x16", "--invert", (dir.path() / "half.png").string()});
  EXPECT_EQ(png.exitCode, 0) << png.err;
  const auto written = decodePicture(test::bytesOf(test::readFile(dir.path() / "out.png")), "out.png");
  ASSERT_TRUE(written) << written.error().text;
  EXPECT_EQ(written->width, 32);
  EXPECT_EQ(written->height, 32);
  EXPECT_EQ(written->rgba[0], 0x38);              // inverted: the black top half is dark dots
  EXPECT_EQ(written->rgba[(31 * 32) * 4], 0xFF);  // and the white bottom lit
}

}  // namespace
}  // namespace lumadot
