// The harness on a firmware whose picture is the bytes it was sent
// (picture_firmware.c, built by sdcc here): what the trace reads from s51's
// pins is those bytes as dots, each row where it belongs and column 0 at the
// left, on time, whatever spans were recorded and silences kept.
#include <gtest/gtest.h>

#include "firmware/sign_simulator.h"
#include "support/installed_program.h"

namespace lumadot::test {
namespace {

using namespace std::chrono_literals;

constexpr int kColumns = 128;
constexpr std::size_t kPictureBytes = 256;

// Every byte different from its neighbours, so a row or column out of place shows.
std::vector<std::uint8_t> pictureBytes() {
  std::vector<std::uint8_t> bytes(kPictureBytes);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  return bytes;
}

// Byte 16 r + b holds row r's columns 8 b to 8 b + 7, lowest bit leftmost.
DotPicture pictureOf(const std::vector<std::uint8_t>& bytes) {
  std::vector<std::uint16_t> columns(kColumns);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    for (int k = 0; k < 8; ++k) {
      if ((bytes[i] >> k) & 1) columns[i % 16 * 8 + k] |= static_cast<std::uint16_t>(1U << (i / 16));
    }
  }
  return DotPicture(columns);
}

struct Case {
  const char* name;
  bool oddParity;
  std::vector<Silence> silences;
  bool split;  // recorded in two spans, the line's start and after the picture
  unsigned parityErrors;
};

void PrintTo(const Case& row, std::ostream* out) { *out << row.name; }

class PictureFirmware : public ::testing::TestWithParam<Case> {};

TEST_P(PictureFirmware, ShowsTheBytesSentOnTime) {
  const Case& row = GetParam();
  TempDir dir;
  build("sdcc", {"-mmcs51", LUMADOT_PICTURE_FIRMWARE, "-o", (dir.path() / "picture.ihx").string()});
  SignRun run;
  run.firmware = dir.path() / "picture.ihx";
  run.line = pictureBytes();
  run.silences = row.silences;
  run.oddParity = row.oddParity;
  const SimTime whole = arrival(run, kPictureBytes - 1);
  run.end = whole + 40ms;
  run.recorded = row.split ? std::vector<Span>{{{}, 30ms}, {whole - 5ms, run.end}} : std::vector<Span>{{{}, run.end}};
  const auto result = runSign(run, dir.path());
  ASSERT_TRUE(result.reachedEnd) << result.log;

  const auto& trace = result.trace;
  const DotPicture expected = row.parityErrors ? DotPicture(std::vector<std::uint16_t>(kColumns)) : pictureOf(run.line);
  int after = 0;
  for (const auto& refresh : trace.refreshes) {
    if (row.split) {
      EXPECT_TRUE(refresh.start < 30ms || refresh.start > whole - 5ms) << "a refresh while not recorded";
    }
    if (refresh.start < whole + 1ms) continue;
    ++after;
    EXPECT_EQ(refresh.picture, expected) << "refresh at " << refresh.start.count() << " ps";
  }
  EXPECT_GE(after, 3);
  EXPECT_EQ(scanFaults(trace, run.panel), "");
  EXPECT_EQ(result.counters.at("_parity_errors"), row.parityErrors);
  EXPECT_EQ(result.counters.at("_frames_taken"), row.parityErrors ? 0U : 1U);
  if (!row.parityErrors) {
    ASSERT_EQ(result.framesTaken.size(), 1U);
    EXPECT_LT(result.framesTaken.front() - whole, 50us) << "the last byte came later than its time";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, PictureFirmware,
    ::testing::Values(Case{"EvenParity", false, {}, false, 0},
                      Case{"OddParityDropsEveryByte", true, {}, false, kPictureBytes},
                      Case{"SilenceAndTwoSpans", false, {{100, 600ms}}, true, 0}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot::test
