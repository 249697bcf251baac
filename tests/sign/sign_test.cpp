// How the sign reads frames off the line, and what its panel shows of them.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "frame/frame_decoder.h"
#include "sign/frame_report.h"
#include "sign/panel_chain.h"
#include "sign/sign_listener.h"
#include "sign/sign_player.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;

// A frame as a sender writes it: header, 253 zeros, display bytes, tail.
Bytes frame(std::uint8_t width, std::uint8_t speed, std::uint8_t mode, std::size_t tail = 289, std::uint8_t fill = 0x5A) {
  Bytes bytes{width, speed, mode};
  bytes.resize(kFrameHeadBytes, 0);
  bytes.resize(kFrameHeadBytes + displayBytesFor(width), fill);
  bytes.resize(bytes.size() + tail, 0);
  return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes firstBytes(const Bytes& bytes, std::size_t count) { return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count)); }

struct Arrival {
  Bytes bytes;
  int atMs;
};

struct DecoderRow {
  const char* name;
  std::vector<Arrival> line;
  std::vector<std::string> reports;  // each frame's summary and warnings, one line each
};

Bytes withLeadIn(Bytes bytes, std::size_t at, std::uint8_t value) {
  bytes[at] = value;
  return bytes;
}

const DecoderRow kDecoderRows[] = {
    {"WholeFrame", {{frame(10, 5, 1), 0}}, {"frame 1: width 10, speed 5, mode 1 (左移), 64 display bytes"}},
    {"ZerosBeforeAFrameAreSkipped",
     {{Bytes(40, 0) + frame(8, 10, 5), 0}},
     {"frame 1: width 8, speed 10, mode 5 (闪烁), 0 display bytes"}},
    {"FieldsOutOfRange",
     {{withLeadIn(withLeadIn(frame(9, 0, 7), 100, 1), 255, 0x3C), 0}},
     {"frame 1: width 9, speed 0, mode 7 (?), 32 display bytes\n"
      "speed: 0, outside 1 to 10\n"
      "mode: 7, outside 0 to 5, so shown still\n"
      "lead-in: byte 100 is 0x01, not zero, nor are 1 more"}},
    {"NarrowWidth",
     {{frame(3, 11, 0), 0}},
     {"frame 1: width 3, speed 11, mode 0 (静止), 0 display bytes\n"
      "width: 3, less than 8, so no display bytes\n"
      "speed: 11, outside 1 to 10"}},
    {"ShortTailBeforeTheNextFrame",
     {{frame(9, 5, 0, 3) + frame(9, 5, 0), 0}},
     {"frame 1: width 9, speed 5, mode 0 (静止), 32 display bytes\ntail: 3 zero bytes, expected at least 257",
      "frame 2: width 9, speed 5, mode 0 (静止), 32 display bytes"}},
    {"CutOffThenWhole",
     {{firstBytes(frame(10, 5, 0), 300), 0}, {frame(9, 2, 0), 501}},
     {"frame 1: incomplete, 300 of 320 bytes", "frame 2: width 9, speed 2, mode 0 (静止), 32 display bytes"}},
    {"AShortPauseKeepsTheFrame",
     {{firstBytes(frame(10, 5, 0), 300), 0}, {Bytes(20, 0x5A) + Bytes(289, 0), 500}},
     {"frame 1: width 10, speed 5, mode 0 (静止), 64 display bytes"}},
    {"CutOffWithAStrayLeadInByteThenAnotherFrame",
     {{withLeadIn(firstBytes(frame(10, 5, 1), 300), 40, 0x7F), 0}, {frame(9, 12, 1), 1500}},
     {"frame 1: incomplete, 300 of 320 bytes\nlead-in: byte 40 is 0x7F, not zero",
      "frame 2: width 9, speed 12, mode 1 (左移), 32 display bytes\nspeed: 12, outside 1 to 10"}},
    {"CutOffInTheHeader",
     {{Bytes{12, 3}, 0}, {frame(8, 1, 0), 2000}},
     {"frame 1: incomplete, 2 of 384 bytes", "frame 2: width 8, speed 1, mode 0 (静止), 0 display bytes"}},
    {"CutOffInTheLeadIn",
     {{withLeadIn(firstBytes(frame(8, 1, 0), 200), 150, 7), 0}},
     {"frame 1: incomplete, 200 of 256 bytes\nlead-in: byte 150 is 0x07, not zero"}},
};

class Decoder : public ::testing::TestWithParam<DecoderRow> {};

TEST_P(Decoder, ReportsEachFrame) {
  FrameDecoder decoder;
  for (const auto& [bytes, at] : GetParam().line) decoder.feed(bytes, milliseconds(at));
  decoder.finish();
  std::vector<std::string> reports;
  for (const ReceivedFrame& frame : decoder.takeFrames()) {
    std::string report = frameSummary(frame, static_cast<int>(reports.size()) + 1);
    for (const FrameWarning& warning : frame.warnings) report += "\n" + warningText(warning);
    reports.push_back(report);
  }
  EXPECT_EQ(reports, GetParam().reports);
}

INSTANTIATE_TEST_SUITE_P(Lines, Decoder, ::testing::ValuesIn(kDecoderRows), [](const auto& row) {
  return std::string(row.param.name);
});

// The frame waits for its tail to end: the next frame's first byte, or the line silent for more than half a second.
TEST(Decoder, EndsATailOnlyAfterTheSilence) {
  FrameDecoder decoder;
  decoder.feed(frame(9, 5, 0), milliseconds(1000));
  EXPECT_EQ(decoder.deadline(), milliseconds(1501));
  decoder.idle(milliseconds(1500));
  EXPECT_TRUE(decoder.takeFrames().empty());
  decoder.idle(milliseconds(1501));
  const auto frames = decoder.takeFrames();
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_TRUE(frames[0].complete());
  EXPECT_EQ(frames[0].tail, 289U);
  EXPECT_EQ(decoder.deadline(), std::nullopt);
}

// The line as the listener reads it: each arrival comes once the clock reaches
// it, a read with none due waits out its time, and once all have come the
// line fails at `failAt`.
class ScriptedLine final : public SerialReceiver {
 public:
  ScriptedLine(std::vector<Arrival> arrivals, milliseconds& clock) : m_arrivals(std::move(arrivals)), m_clock(clock) {}

  Result<Bytes> read(milliseconds wait) override {
    waits.push_back(wait);
    if (m_next < m_arrivals.size() && milliseconds(m_arrivals[m_next].atMs) <= m_clock + wait) {
      m_clock = std::max(m_clock, milliseconds(m_arrivals[m_next].atMs));
      return m_arrivals[m_next++].bytes;
    }
    m_clock += wait;
    if (m_next == m_arrivals.size() && m_clock >= failAt) return Failure("line gone", "unplugged");
    return Bytes{};
  }

  milliseconds failAt = milliseconds::max();
  std::vector<milliseconds> waits;

 private:
  std::vector<Arrival> m_arrivals;
  std::size_t m_next = 0;
  milliseconds& m_clock;
};

std::vector<std::string> summaries(const std::vector<HeardFrame>& frames) {
  std::vector<std::string> lines;
  for (const auto& [frame, number] : frames) lines.push_back(frameSummary(frame, number));
  return lines;
}

// Listening until the line fails hears what the decoder reads, each frame ended by the silence after it.
TEST_P(Decoder, ListenerHearsEachFrameOnTime) {
  milliseconds clock{0};
  ScriptedLine line(GetParam().line, clock);
  line.failAt = milliseconds(GetParam().line.back().atMs + 2000);
  SignListener listener([&clock] { return clock; });
  std::vector<std::string> reports;
  Result<void> listened;
  while ((listened = listener.listen(line, milliseconds(100)))) {
    for (const auto& [frame, number] : listener.takeFrames()) {
      ASSERT_EQ(number, static_cast<int>(reports.size()) + 1);
      std::string report = frameSummary(frame, number);
      for (const FrameWarning& warning : frame.warnings) report += "\n" + warningText(warning);
      reports.push_back(report);
    }
  }
  EXPECT_EQ(listened.error(), Failure("line gone", "unplugged"));
  EXPECT_TRUE(listener.takeFrames().empty());
  EXPECT_EQ(reports, GetParam().reports);
}

// A read waits no longer than the silence that would end the frame in progress; one that does not wait never does.
TEST(Listener, WaitsNoLongerThanTheSilenceLeft) {
  milliseconds clock{0};
  ScriptedLine line({{frame(9, 5, 0), 0}}, clock);
  SignListener listener([&clock] { return clock; });
  for (int pass = 0; pass < 8; ++pass) ASSERT_TRUE(listener.listen(line, milliseconds(100)));
  const std::vector<milliseconds> waits{milliseconds(100), milliseconds(100), milliseconds(100), milliseconds(100),
                                        milliseconds(100), milliseconds(100), milliseconds(1),   milliseconds(100)};
  EXPECT_EQ(line.waits, waits);
  EXPECT_EQ(summaries(listener.takeFrames()),
            std::vector<std::string>{"frame 1: width 9, speed 5, mode 0 (静止), 32 display bytes"});

  ScriptedLine timer({{firstBytes(frame(10, 5, 0), 100), 0}}, clock);
  for (int pass = 0; pass < 3; ++pass) ASSERT_TRUE(listener.listen(timer, milliseconds(0)));
  EXPECT_EQ(timer.waits, std::vector<milliseconds>(3, milliseconds(0)));
  clock += kLineSilence + milliseconds(1);
  ASSERT_TRUE(listener.listen(timer, milliseconds(0)));
  EXPECT_EQ(summaries(listener.takeFrames()), std::vector<std::string>{"frame 2: incomplete, 100 of 320 bytes"});
}

// A line that fails ends the frame it cut off; a new session drops what came before and numbers on.
TEST(Listener, FailingLineEndsTheFrameAndRestartNumbersOn) {
  milliseconds clock{0};
  SignListener listener([&clock] { return clock; });
  ScriptedLine lost({{firstBytes(frame(10, 5, 0), 300), 0}}, clock);
  lost.failAt = milliseconds(0);
  ASSERT_TRUE(listener.listen(lost, milliseconds(100)));
  EXPECT_EQ(listener.listen(lost, milliseconds(100)).error().text, "line gone");
  EXPECT_EQ(summaries(listener.takeFrames()), std::vector<std::string>{"frame 1: incomplete, 300 of 320 bytes"});

  ScriptedLine next({{firstBytes(frame(10, 5, 0), 300), 1000}, {frame(8, 1, 0, 0), 1100}}, clock);
  ASSERT_TRUE(listener.listen(next, milliseconds(1000)));
  listener.restart();
  listener.finish();
  EXPECT_TRUE(listener.takeFrames().empty());
  ASSERT_TRUE(listener.listen(next, milliseconds(1000)));
  listener.finish();
  EXPECT_EQ(summaries(listener.takeFrames()),
            std::vector<std::string>{"frame 2: width 8, speed 1, mode 0 (静止), 0 display bytes"});
  EXPECT_EQ(listener.heard(), 2);
}

// A message 8 dots wide: column x lit in rows x and 15 - x (a cross), so shifts and mirrors show.
ReceivedFrame crossFrame(std::uint8_t speed, std::uint8_t mode) {
  Bytes bytes = frame(9, speed, mode, 0, 0);
  for (std::size_t row = 0; row < 16; ++row) {
    const unsigned x = row < 8 ? static_cast<unsigned>(row) : static_cast<unsigned>(15 - row);
    bytes[kFrameHeadBytes + row] = static_cast<std::uint8_t>(1U << x);  // lowest bit leftmost
  }
  FrameDecoder decoder;
  decoder.feed(bytes, milliseconds(0));
  decoder.finish();
  return decoder.takeFrames().at(0);
}

std::uint16_t cross(int x) {
  if (x < 0 || x >= 8) return 0;
  return static_cast<std::uint16_t>((1U << x) | (1U << (15 - x)));
}

TEST(Player, ReadsStripsLowestBitLeftmostOrAsked) {
  const ReceivedFrame frame = crossFrame(5, 0);
  const DotPicture lsb = SignPlayer(frame, {}).message();
  const DotPicture msb = SignPlayer(frame, {16, true}).message();
  ASSERT_EQ(lsb.width(), 16);
  for (int x = 0; x < 16; ++x) {
    EXPECT_EQ(lsb.column(x), cross(x)) << x;
    EXPECT_EQ(msb.column(x), x < 8 ? cross(7 - x) : 0) << x;
  }
}

struct EffectRow {
  const char* name;
  std::uint8_t mode;
  int steps;
  int step;
  int shift;     // panel column x shows message column x + shift
  int rowsDown;  // and its dots this many rows lower (negative: higher)
  bool dark;
};

// The panel is 32 dots across; the message is 16, its second strip blank.
const EffectRow kEffectRows[] = {
    {"StillShowsTheMessageAtTheLeft", 0, 1, 0, 0, 0, false},
    {"StillBadModeToo", 9, 1, 7, 0, 0, false},
    {"LeftStartsOffTheRightEdge", 1, 48, 0, -32, 0, false},
    {"LeftHalfWayIn", 1, 48, 20, -12, 0, false},
    {"LeftLeavesAtTheLeftEdge", 1, 48, 47, 15, 0, false},
    {"LeftWrapsAround", 1, 48, 48 + 20, -12, 0, false},
    {"RightStartsOffTheLeftEdge", 2, 48, 0, 16, 0, false},
    {"RightHalfWayIn", 2, 48, 20, -4, 0, false},
    {"UpComesFromBelow", 3, 48, 3, 0, 13, false},
    {"UpStays", 3, 48, 20, 0, 0, false},
    {"UpLeavesAtTheTop", 3, 48, 40, 0, -8, false},
    {"DownComesFromAbove", 4, 48, 3, 0, -13, false},
    {"FlashLit", 5, 10, 4, 0, 0, false},
    {"FlashDark", 5, 10, 5, 0, 0, true},
};

class Effects : public ::testing::TestWithParam<EffectRow> {};

TEST_P(Effects, MoveTheMessageAcrossThePanel) {
  const EffectRow& row = GetParam();
  const SignPlayer player(crossFrame(5, row.mode), {32, false});
  EXPECT_EQ(player.steps(), row.steps);
  const DotPicture panel = player.panel(row.step);
  ASSERT_EQ(panel.width(), 32);
  for (int x = 0; x < 32; ++x) {
    const std::uint16_t column = cross(x + row.shift);
    const auto expected = row.dark ? 0
                          : row.rowsDown >= 0 ? static_cast<std::uint16_t>(column << row.rowsDown)
                                              : static_cast<std::uint16_t>(column >> -row.rowsDown);
    ASSERT_EQ(panel.column(x), expected) << "column " << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, Effects, ::testing::ValuesIn(kEffectRows), [](const auto& row) {
  return std::string(row.param.name);
});

struct ChainRow {
  const char* name;
  int columns;
  int modules;  // 0: a plain panel
  std::vector<int> seams;
};

const ChainRow kChainRows[] = {
    {"OneModule", 32, 1, {}},
    {"TwoModules", 64, 2, {32}},
    {"TheDefaultIsFour", 128, 4, {32, 64, 96}},
    {"TheLongestChainTheBoardDrives", 256, 8, {32, 64, 96, 128, 160, 192, 224}},
    {"NarrowerThanAModule", 16, 0, {}},
    {"OneDotOverAModule", 33, 0, {}},
    {"OneDotShortOfTwo", 63, 0, {}},
    {"SingleDot", 1, 0, {}},
    {"NoWidth", 0, 0, {}},
};

class Chains : public ::testing::TestWithParam<ChainRow> {};

TEST_P(Chains, AWholeNumberOfModulesMeetAtTheirSeams) {
  const ChainRow& row = GetParam();
  EXPECT_EQ(modulesAcross(row.columns), row.modules);
  EXPECT_EQ(moduleSeams(row.columns), row.seams);
}

INSTANTIATE_TEST_SUITE_P(Widths, Chains, ::testing::ValuesIn(kChainRows), [](const auto& row) {
  return std::string(row.param.name);
});

TEST(Player, PacesBySpeedTenTheFastest) {
  const std::pair<std::uint8_t, int> paces[] = {{1, 100}, {5, 60}, {10, 10}, {0, 100}, {11, 10}, {255, 10}};
  for (const auto& [speed, ms] : paces) {
    const SignPlayer player(crossFrame(speed, 1), {});
    EXPECT_EQ(player.stepTime(), milliseconds(ms)) << int{speed};
    EXPECT_EQ(stepTimeAt(speed), milliseconds(ms)) << int{speed};
    EXPECT_EQ(player.stepAt(milliseconds(ms * 20 + ms - 1)), 20) << int{speed};
  }
}

TEST(Player, CycleMergesStepsShorterThanAnImageAndPanelsThatStay) {
  const SignPlayer fast(crossFrame(10, 1), {32, false});  // 10 ms steps
  const auto moving = effectCycle(fast, milliseconds(20));
  // 48 steps in twos, the last four of them the blank strip alone, as one.
  ASSERT_EQ(moving.size(), 21U);
  EXPECT_EQ(moving.back().shown, milliseconds(80));
  EXPECT_EQ(moving[1].picture, fast.panel(2));
  EXPECT_EQ(moving[1].shown, milliseconds(20));

  const auto flashing = effectCycle(SignPlayer(crossFrame(1, 5), {32, false}), milliseconds(20));
  ASSERT_EQ(flashing.size(), 2U);
  EXPECT_EQ(flashing[0].shown, milliseconds(500));
  EXPECT_EQ(flashing[1].picture, DotPicture(std::vector<std::uint16_t>(32)));

  EXPECT_EQ(effectCycle(SignPlayer(crossFrame(3, 0), {}), milliseconds(20)).size(), 1U);
}

}  // namespace
}  // namespace lumadot
