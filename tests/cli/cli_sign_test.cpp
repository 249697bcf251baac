// lumadot-cli sign at the far end of a real serial line (two pseudo-terminals
// joined by socat), with lumadot-cli sending at the other.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <future>
#include <random>
#include <string>
#include <vector>

#include "picture/picture.h"
#include "support/named_rows.h"
#include "support/process.h"
#include "support/serial_line.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::ProcessResult;
using test::runProcess;
using test::SerialLine;

const std::filesystem::path kCli = LUMADOT_CLI_PATH;

// The sign listening while `send` runs; the line holds what comes before it opens.
template <class Send>
ProcessResult listenWhile(const SerialLine& line, std::vector<std::string> options, Send send,
                          bool onTerminal = false) {
  std::vector<std::string> args{"sign", "--device", line.sign()};
  args.insert(args.end(), options.begin(), options.end());
  auto sign = std::async(std::launch::async, [&] { return runProcess(kCli, args, {}, {}, {}, onTerminal); });
  send();
  return sign.get();
}

// Sent to the line's end by its path, as a user names a USB adapter.
ProcessResult sendText(const SerialLine& line, const std::vector<std::string>& options) {
  std::vector<std::string> args{"extract", "--send", "--device", line.pc(), "--reverse", "--split"};
  args.insert(args.end(), options.begin(), options.end());
  return runProcess(kCli, args);
}

std::string previewPadded(const std::string& text, std::size_t dots) {
  return test::signDrawing(runProcess(kCli, {"preview", "--width", "0", text}).out, dots);
}

struct SentRow {
  const char* name;
  std::string text;
  std::string mode;
  std::string speed;
  std::string summary;
  std::size_t dots;  // the message's width: (width - 8) x 16
};

const SentRow kSentRows[] = {
    {"ChineseStill", "中国", "静止", "5", "width 10, speed 5, mode 0 (静止), 64 display bytes", 32},
    {"SingleByteLeft", "Ab1", "左移", "1", "width 10, speed 1, mode 1 (左移), 64 display bytes", 32},
    {"MixedRight", "中A字", "右移", "10", "width 11, speed 10, mode 2 (右移), 96 display bytes", 48},
    {"MixedUp", "A中", "上移", "3", "width 10, speed 3, mode 3 (上移), 64 display bytes", 32},
    {"ChineseDown", "显示屏", "下移", "7", "width 12, speed 7, mode 4 (下移), 128 display bytes", 64},
    {"SingleByteFlash", "LED", "闪烁", "2", "width 10, speed 2, mode 5 (闪烁), 64 display bytes", 32},
};

class CliSignReceives : public ::testing::TestWithParam<SentRow> {};

// The frame is drawn as the text's glyphs, column for column, the width's rounding dark.
TEST_P(CliSignReceives, DrawsTheTextSent) {
  const SentRow& row = GetParam();
  SerialLine line;
  ProcessResult sent;
  const auto r = listenWhile(line, {"--count", "1", "--print"}, [&] {
    sent = sendText(line, {"--mode", row.mode, "--speed", row.speed, row.text});
  });
  EXPECT_EQ(sent.exitCode, 0) << sent.err;
  EXPECT_TRUE(sent.err.starts_with("系统提示: 使用串口" + line.pc() + "共发送")) << sent.err;
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "frame 1: " + row.summary + "\n" + previewPadded(row.text, row.dots));
}

INSTANTIATE_TEST_SUITE_P(Texts, CliSignReceives, ::testing::ValuesIn(kSentRows), [](const auto& row) {
  return std::string(row.param.name);
});

// The clock's sentence, read back from the glyph names in its listing.
std::string clockSentence(const std::string& listing) {
  std::string sentence;
  const std::string marker = ";--------";
  for (std::size_t at = listing.find(marker); at != std::string::npos; at = listing.find(marker, at + 1)) {
    const std::size_t start = at + marker.size();
    sentence += listing.substr(start, listing.find("--------", start) - start);
  }
  return sentence;
}

TEST(CliSign, ShowsTheClocksSentence) {
  SerialLine line;
  ProcessResult clock;
  const auto r = listenWhile(line, {"--count", "1", "--print"}, [&] {
    clock = runProcess(kCli, {"clock", "--send", "--device", line.pc(), "--count", "1", "--mode", "左移"});
  });
  ASSERT_EQ(clock.exitCode, 0) << clock.err;
  const std::string sentence = clockSentence(clock.out);
  ASSERT_TRUE(sentence.starts_with("今天是")) << clock.out;
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string summary = r.out.substr(0, r.out.find('\n'));
  EXPECT_TRUE(summary.starts_with("frame 1: width ") && summary.find(", speed 1, mode 1 (左移), ") != std::string::npos)
      << summary;
  const std::size_t bytes = std::stoul(summary.substr(summary.rfind(", ") + 2));
  EXPECT_EQ(r.out.substr(summary.size() + 1), previewPadded(sentence, bytes / 2));
}

std::vector<std::uint8_t> frame(std::uint8_t width, std::uint8_t speed, std::size_t tail = 289) {
  std::vector<std::uint8_t> bytes{width, speed, 1};
  bytes.resize(256, 0);
  bytes.resize(256 + (width - 8) * 32U, 0x18);
  bytes.resize(bytes.size() + tail, 0);
  return bytes;
}

// The silence that cuts the first frame off lasts until the sign has reported it, however long that takes;
// how long a silence must be is the listener's, stepped in sign_test.
TEST(CliSign, ReportsACutOffFrameAndReadsTheNextWhole) {
  SerialLine line;
  auto cut = frame(10, 5);
  cut.resize(300);
  cut[40] = 0x7F;
  line.send(cut);  // the line holds it until the sign opens it
  bool sentNext = false;
  const auto r = test::runWatchedProcess(kCli, {"sign", "--device", line.sign(), "--count", "2"}, {},
                                         [&](const ProcessResult& soFar) {
                                           if (!sentNext && soFar.out.find("frame 1: ") != std::string::npos) {
                                             line.send(frame(9, 12));
                                             sentNext = true;
                                           }
                                           return false;
                                         });
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "frame 1: incomplete, 300 of 320 bytes\n"
            "  warning: lead-in: byte 40 is 0x7F, not zero\n"
            "frame 2: width 9, speed 12, mode 1 (左移), 32 display bytes\n"
            "  warning: speed: 12, outside 1 to 10\n");
}

TEST(CliSign, RandomBytesGiveFramesAndNoHang) {
  SerialLine line;
  std::mt19937 random(7);
  std::vector<std::uint8_t> noise(30000);
  for (auto& b : noise) b = static_cast<std::uint8_t>(random());
  const auto r = listenWhile(line, {"--count", "3"}, [&] { line.send(noise); });
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), 'f'), 3) << r.out;  // "frame K:" lines only
}

TEST(CliSign, PlaysInPlaceOnATerminal) {
  SerialLine line;
  const auto r = listenWhile(line, {"--count", "1", "--columns", "40"}, [&] { sendText(line, {"中"}); }, true);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("frame 1: width 10, speed 5, mode 0 (静止), 64 display bytes\n\x1b[?25l")) << r.out;
  EXPECT_TRUE(r.out.ends_with("\x1b[?25h")) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 17);  // the summary and the panel's 16 rows
}

TEST(CliSign, WritesTheEffectAsAnAnimatedGifAndTheMessageAsAPng) {
  SerialLine line;
  const test::TempDir dir;
  const auto gifPath = (dir.path() / "sign.gif").string();
  const auto pngPath = (dir.path() / "sign.png").string();
  auto r = listenWhile(line, {"--count", "1", "--gif", gifPath, "--columns", "32"},
                       [&] { sendText(line, {"--mode", "左移", "--speed", "10", "中A"}); });
  ASSERT_EQ(r.exitCode, 0) << r.err;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(gifPath.c_str(), &error);
  ASSERT_NE(gif, nullptr) << GifErrorString(error);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->SWidth, 32 * 4);
  EXPECT_EQ(gif->SHeight, 16 * 4);
  // 32 + 32 steps of 10 ms, two to an image; the blank panel at either end counted once each.
  EXPECT_GE(gif->ImageCount, 25);
  EXPECT_LE(gif->ImageCount, 32);
  GraphicsControlBlock control{};
  DGifSavedExtensionToGCB(gif, 1, &control);
  EXPECT_EQ(control.DelayTime, 2);
  DGifCloseFile(gif, &error);

  r = listenWhile(line, {"--count", "1", "--png", pngPath}, [&] { sendText(line, {"中A"}); });
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string png = test::readFile(pngPath);
  ASSERT_GT(png.size(), 24U);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(static_cast<unsigned char>(png[18]) * 256 + static_cast<unsigned char>(png[19]), 32 * 4);  // IHDR width
}

std::uint8_t gifPixel(const GifFileType& gif, int image, int x, int y) {
  const SavedImage& saved = gif.SavedImages[image];
  return saved.RasterBits[(y - saved.ImageDesc.Top) * saved.ImageDesc.Width + (x - saved.ImageDesc.Left)];
}

struct ChainRow {
  const char* name;
  std::string columns;
  std::vector<int> seamPixels;  // at scale 4, a seam's line is the gap column left of the module it starts
};

// "中国A" sent is 48 dots (the width byte rounds it up): the first module and a half.
const ChainRow kChainRows[] = {
    {"TwoModules", "64", {127}},
    {"TheDefaultFour", "128", {127, 255, 383}},
    {"APlainPanel", "72", {}},
};

class CliSignChain : public ::testing::TestWithParam<ChainRow> {};

TEST_P(CliSignChain, GifAndPngDrawTheSeamsBetweenModules) {
  const ChainRow& row = GetParam();
  SerialLine line;
  const test::TempDir dir;
  const auto gifPath = (dir.path() / "chain.gif").string();
  const auto pngPath = (dir.path() / "chain.png").string();
  auto r = listenWhile(line, {"--count", "1", "--gif", gifPath, "--columns", row.columns},
                       [&] { sendText(line, {"中国A"}); });
  ASSERT_EQ(r.exitCode, 0) << r.err;
  int error = 0;
  GifFileType* gif = DGifOpenFileName(gifPath.c_str(), &error);
  ASSERT_NE(gif, nullptr) << GifErrorString(error);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  ASSERT_EQ(gif->ImageCount, 1);  // still
  const GifColorType seam = gif->SColorMap->Colors[3];
  EXPECT_EQ(std::vector<int>({seam.Red, seam.Green, seam.Blue}),
            row.seamPixels.empty() ? std::vector<int>({0, 0, 0}) : std::vector<int>({0x60, 0x60, 0x60}));
  std::vector<int> seams;
  for (int x = 0; x < gif->SWidth; ++x) {
    if (gifPixel(*gif, 0, x, 0) == 3) seams.push_back(x);
    for (int y = 1; y < gif->SHeight; ++y) EXPECT_EQ(gifPixel(*gif, 0, x, y) == 3, gifPixel(*gif, 0, x, 0) == 3);
  }
  EXPECT_EQ(seams, row.seamPixels);
  DGifCloseFile(gif, &error);

  // The message alone: only the seams it reaches, where it stands still.
  r = listenWhile(line, {"--count", "1", "--png", pngPath, "--columns", row.columns}, [&] { sendText(line, {"中国A"}); });
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string png = test::readFile(pngPath);
  const auto decoded = decodePicture({reinterpret_cast<const std::uint8_t*>(png.data()), png.size()}, pngPath);
  ASSERT_TRUE(decoded) << decoded.error().text;
  ASSERT_EQ(decoded->width, 48 * 4);
  const auto rgbaAt = [&](int x, int y) {
    const auto at = decoded->rgba.begin() + 4 * (y * decoded->width + x);
    return std::vector<int>(at, at + 3);
  };
  for (const int x : {127, 126, 131}) {
    const bool seamHere = x == 127 && !row.seamPixels.empty();
    EXPECT_EQ(rgbaAt(x, 3), seamHere ? std::vector<int>({0x60, 0x60, 0x60}) : std::vector<int>({0, 0, 0})) << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, CliSignChain, ::testing::ValuesIn(kChainRows), [](const auto& row) {
  return std::string(row.param.name);
});

}  // namespace
}  // namespace lumadot
