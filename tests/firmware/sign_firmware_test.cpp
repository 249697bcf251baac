// The sign's firmware (firmware/, built by sdcc) in s51 with the frames
// lumadot-cli writes on its serial line: its panel, read back from the pins,
// shows what SignPlayer shows for the same frames. From the first refresh
// that begins after a frame is taken, the refresh at time t shows the step
// t / step time, and every change of picture comes on a step's boundary
// within a row tick, so each step lasts (11 - speed) x 10 ms. No byte is
// lost or refused while an effect plays.
//
// s51 runs about three times faster than the chip while the pins are not
// recorded but takes about 2 s a simulated second while they are. So each
// run feeds one text at one speed in all six modes, one frame after another,
// and records only the steps looked at: a whole cycle and the next one's
// first steps where that lasts at most 3 s; else the first steps and, where
// the cycle ends within 16 s, its last ones and the next cycle's first. The
// steps a cycle goes through do not depend on the speed, only how long each
// lasts: the long ones are seen to their end at speed 10 (and 5), where it
// is cheap.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "firmware/sign_simulator.h"
#include "frame/display_frame.h"
#include "frame/frame_decoder.h"
#include "sign/sign_player.h"
#include "support/process.h"

namespace lumadot::test {
namespace {

using namespace std::chrono_literals;

const std::filesystem::path kCli = LUMADOT_CLI_PATH;
const std::filesystem::path kFirmware = LUMADOT_SIGN_FIRMWARE;
// From a frame's last byte to the firmware taking it (_frames_taken), at most
// three refreshes: it clears what lies right of the message and prepares the
// first step while the interrupts take three quarters of the machine (13 to
// 15 ms measured, 22 ms with two data lines).
// That work is machine cycles: a slower crystal takes longer in proportion.
SimTime takeBound(const PanelWiring& board) {
  return std::chrono::duration_cast<SimTime>(std::chrono::duration<double, std::milli>{30.0 * 22'118'400 / static_cast<double>(board.crystalHz)});
}
const char* const kModes[] = {"静止", "左移", "右移", "上移", "下移", "闪烁"};

struct StepRange {
  long long from, to;  // steps of the effect since its start, to excluded
};

// A frame on the line that is whole, and the steps of its effect looked at.
struct Play {
  ReceivedFrame frame;
  std::size_t lastByte = 0;  // the line's byte that makes it whole
  std::vector<StepRange> steps;
};

struct Plan {
  SignRun run;
  std::vector<Play> plays;
  // The board holds one frame: the panel goes dark once the next one begins to come.
  bool oneBuffer = false;
};

SignPlayer playerOf(const Plan& plan, const Play& play) {
  return SignPlayer(play.frame, PanelSettings{plan.run.panel.columns, false});
}

SimTime wholeAt(const Plan& plan, const Play& play) { return arrival(plan.run, play.lastByte); }
SimTime beginsAt(const Plan& plan, const Play& play) { return arrival(plan.run, play.lastByte + 1 - play.frame.expected); }

// When the last step looked at is over, at the latest.
SimTime lookedUntil(const Plan& plan, const Play& play) {
  long long last = 0;
  for (const StepRange& range : play.steps) last = std::max(last, range.to);
  return wholeAt(plan, play) + 2 * takeBound(plan.run.panel) + playerOf(plan, play).stepTime() * last + refreshOf(plan.run.panel);
}

// A whole cycle and the next one's first two steps where that lasts at most
// 3 s; else the first steps (0.6 s, at least 4) and, where the cycle ends
// within 16 s, its last steps (0.3 s, at least 4) with the next one's first two.
std::vector<StepRange> stepsLookedAt(const SignPlayer& player) {
  const long long steps = player.steps(), ms = player.stepTime().count();
  if ((steps + 2) * ms <= 3000) return {{0, steps + 2}};
  const long long head = std::max(4LL, 600 / ms), tail = std::max(4LL, 300 / ms);
  if (steps * ms > 16000) return {{0, head}};
  return {{0, head}, {steps - tail, steps + 2}};
}

std::vector<std::uint8_t> frameBytes(const std::string& text, int mode, int speed, const std::filesystem::path& dir) {
  const auto file = dir / "frame.bin";
  const auto made = runProcess(kCli, {"extract", "--reverse", "--split", "--mode", kModes[mode], "--speed",
                                      std::to_string(speed), "--frame-out", file.string(), "--", text});
  EXPECT_EQ(made.exitCode, 0) << made.err;
  const std::string bytes = readFile(file);
  return {bytes.begin(), bytes.end()};
}

// A whole frame, after zeros enough for the one before to show the steps looked at.
void addFrame(Plan& plan, const std::vector<std::uint8_t>& bytes, std::vector<StepRange> steps = {}) {
  Play play{decodeFrames(bytes).front(), 0, std::move(steps)};
  auto& line = plan.run.line;
  if (!plan.plays.empty()) {
    const SimTime ready = lookedUntil(plan, plan.plays.back());
    const SimTime comes = arrival(plan.run, line.size() + play.frame.expected - 1);
    if (comes < ready) line.insert(line.end(), static_cast<std::size_t>((ready - comes) / byteTime(plan.run.panel)) + 1, 0);
  }
  play.lastByte = line.size() + play.frame.expected - 1;
  line.insert(line.end(), bytes.begin(), bytes.end());
  plan.plays.push_back(std::move(play));
}

void addFrame(Plan& plan, const std::string& text, int mode, int speed, const std::filesystem::path& dir) {
  const auto bytes = frameBytes(text, mode, speed, dir);
  addFrame(plan, bytes, stepsLookedAt(playerOf(plan, {decodeFrames(bytes).front(), 0, {}})));
}

// Records the line's first refreshes, dark, and the steps looked at with a refresh before.
void addSpans(Plan& plan, std::vector<Span> spans = {}) {
  spans.push_back({SimTime{}, 25ms});
  for (const Play& play : plan.plays) {
    const SimTime whole = wholeAt(plan, play), step = playerOf(plan, play).stepTime();
    for (const StepRange& range : play.steps) {
      spans.push_back({whole + step * range.from - 2 * refreshOf(plan.run.panel), whole + 2 * takeBound(plan.run.panel) + step * range.to + refreshOf(plan.run.panel)});
    }
  }
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.from < b.from; });
  plan.run.recorded.clear();
  for (const Span& span : spans) {
    if (!plan.run.recorded.empty() && span.from <= plan.run.recorded.back().to) {
      plan.run.recorded.back().to = std::max(plan.run.recorded.back().to, span.to);
    } else {
      plan.run.recorded.push_back(span);
    }
  }
  plan.run.end = plan.run.recorded.back().to + 1ms;
  // The zeros that would come after the end are not sent, so every byte sent is counted.
  while (arrival(plan.run, plan.run.line.size() - 1) + 1ms > plan.run.end) plan.run.line.pop_back();
}

std::string drawn(const DotPicture& picture) {
  std::string rows;
  for (int y = 0; y < DotPicture::kSignHeight; ++y) {
    for (int x = 0; x < picture.width(); ++x) rows += picture.lit(x, y) ? '#' : '.';
    rows += '\n';
  }
  return rows;
}

// The refreshes that began after the frame was taken and before the next one
// was whole: while the firmware takes that, the step shown may last longer.
std::vector<const PanelRefresh*> refreshesOf(const Plan& plan, const SignRunResult& result, std::size_t play) {
  const SimTime taken = result.framesTaken[play];
  SimTime next = SimTime::max();
  if (play + 1 < plan.plays.size()) {
    const Play& after = plan.plays[play + 1];
    next = plan.oneBuffer ? beginsAt(plan, after) : wholeAt(plan, after);
  }
  std::vector<const PanelRefresh*> shown;
  for (const PanelRefresh& refresh : result.trace.refreshes) {
    if (refresh.begins > taken && refresh.begins < next) shown.push_back(&refresh);
  }
  return shown;
}

// Each refresh the step its time says, each change of picture on a step's boundary.
void checkSteps(const Plan& plan, const Play& play, const std::vector<const PanelRefresh*>& shown,
                const std::string& which) {
  const SignPlayer player = playerOf(plan, play);
  const SimTime step = player.stepTime(), first = shown.front()->start, tick = rowTick(plan.run.panel);
  std::vector<long long> seen(play.steps.size());
  int wrong = 0;
  for (std::size_t k = 0; k < shown.size(); ++k) {
    const long long at = (shown[k]->start - first + tick) / step;
    for (std::size_t r = 0; r < play.steps.size(); ++r) seen[r] += at >= play.steps[r].from && at < play.steps[r].to;
    const DotPicture expected = player.panel(at);
    if (shown[k]->picture != expected && wrong++ == 0) {
      ADD_FAILURE() << which << ": step " << at << " shows\n" << drawn(shown[k]->picture) << "not\n" << drawn(expected);
    }
    if (k == 0 || shown[k]->start - shown[k - 1]->start > refreshOf(plan.run.panel) + tick) continue;
    EXPECT_GT(shown[k]->start - shown[k - 1]->start, refreshOf(plan.run.panel) - tick) << which << ": a refresh too short";
    if (shown[k]->picture == shown[k - 1]->picture) continue;
    const SimTime off = (shown[k]->start - first) % step;
    EXPECT_LE(std::min(off, step - off), tick) << which << ": step " << at << " began off its time";
  }
  EXPECT_EQ(wrong, 0) << which << ": refreshes wrong, of " << shown.size();
  for (std::size_t r = 0; r < play.steps.size(); ++r) {
    EXPECT_EQ(seen[r], (play.steps[r].to - play.steps[r].from) * (step / refreshOf(plan.run.panel)))
        << which << ": refreshes seen of steps " << play.steps[r].from << " to " << play.steps[r].to;
  }
}

void checkPlay(const Plan& plan, const SignRunResult& result, std::size_t index) {
  const Play& play = plan.plays[index];
  const std::string which = "frame " + std::to_string(index) + " (mode " + std::to_string(play.frame.mode().value_or(0)) + ")";
  const SimTime taken = result.framesTaken[index];
  EXPECT_GE(taken, wholeAt(plan, play)) << which << ": taken before its last byte";
  EXPECT_LT(taken - wholeAt(plan, play), takeBound(plan.run.panel)) << which << ": taken late";
  if (play.steps.empty()) return;
  const auto shown = refreshesOf(plan, result, index);
  ASSERT_FALSE(shown.empty()) << which << ": no refresh recorded";
  EXPECT_LT(shown.front()->begins - taken, refreshOf(plan.run.panel) + rowTick(plan.run.panel)) << which << ": its first refresh not recorded";
  checkSteps(plan, play, shown, which);
}

std::string countersOf(const SignRunResult& result) {
  std::string text;
  for (const auto& [name, value] : result.counters) text += name + " " + std::to_string(value) + "\n";
  return text;
}

void checkRun(const Plan& plan, const SignRunResult& result, unsigned parityErrors = 0) {
  ASSERT_TRUE(result.reachedEnd) << "s51 did not reach the end:\n" << result.log.substr(0, 4000);
  const auto& trace = result.trace;
  EXPECT_EQ(scanFaults(trace, plan.run.panel), "");
  EXPECT_EQ(result.counters.at("_parity_errors"), parityErrors) << countersOf(result);
  EXPECT_EQ(result.counters.at("_bytes_received"), plan.run.line.size()) << "bytes lost\n" << countersOf(result);
  EXPECT_EQ(result.counters.at("_frames_taken"), plan.plays.size()) << countersOf(result);
  if (result.counters.count("_overruns")) {
    EXPECT_EQ(result.counters.at("_overruns"), 0U);
  }
  ASSERT_EQ(result.framesTaken.size(), plan.plays.size()) << "frames taken while recorded";
  const DotPicture dark{std::vector<std::uint16_t>(static_cast<std::size_t>(plan.run.panel.columns))};
  for (const PanelRefresh& refresh : trace.refreshes) {
    if (plan.plays.empty() || refresh.begins < result.framesTaken.front()) {
      EXPECT_EQ(refresh.picture, dark) << "lit before a frame";
    }
  }
  for (std::size_t play = 0; play < plan.plays.size(); ++play) checkPlay(plan, result, play);
  if (!plan.oneBuffer) return;
  for (std::size_t play = 1; play < plan.plays.size(); ++play) {
    for (const PanelRefresh& refresh : trace.refreshes) {
      if (refresh.begins > beginsAt(plan, plan.plays[play]) + takeBound(plan.run.panel) && refresh.begins < result.framesTaken[play]) {
        EXPECT_EQ(refresh.picture, dark) << "lit while frame " << play << " comes into the one buffer";
      }
    }
  }
}

SignRunResult simulate(Plan& plan, const std::filesystem::path& dir) {
  if (plan.run.firmware.empty()) plan.run.firmware = kFirmware;
  const auto result = runSign(plan.run, dir);
  SimTime recorded{};
  for (const Span& span : plan.run.recorded) recorded += span.to - span.from;
  const auto& trace = result.trace;
  const auto us = [](SimTime t) { return std::chrono::duration_cast<std::chrono::microseconds>(t).count(); };
  std::cout << "s51: " << std::chrono::duration<double>(plan.run.end).count() << " s simulated ("
            << std::chrono::duration<double>(recorded).count() << " s recorded, " << result.dumpBytes / 1000000
            << " MB) in " << result.took.count() << " s; interrupts " << result.interruptShare * 100
            << "% of cycles; rows " << us(trace.meanRow()) << " us (" << us(trace.shortestRow) << " to "
            << us(trace.longestRow) << "), shifting up to " << us(trace.longestShift) << " us; at least "
            << fewestRefreshesPerWindow(trace, plan.run.panel) << " refreshes a 100 ms window; a byte read "
            << us(result.longestRead) << " us after its stop bit at worst\n";
  // The next byte is in by one byte time later: a read that waited longer would lose it.
  EXPECT_LT(result.longestRead, byteTime(plan.run.panel) / 4) << "bytes read late";
  return result;
}

struct TextCase {
  const char* name;
  const char* text;
  int speed;
};

void PrintTo(const TextCase& row, std::ostream* out) { *out << row.name; }

class SignFirmwareText : public ::testing::TestWithParam<TextCase> {};

TEST_P(SignFirmwareText, PlaysEachModeAsSignPlayer) {
  TempDir dir;
  Plan plan;
  for (int mode = 0; mode <= kLastMode; ++mode) addFrame(plan, GetParam().text, mode, GetParam().speed, dir.path());
  addSpans(plan);
  checkRun(plan, simulate(plan, dir.path()));
}

const char* const kOne = "中";
const char* const kEight = "Lumadot!";
const char* const kNine = "欢迎光临 Shop";
const char* const kSixty = "欢迎光临本店，今日特价：苹果每斤5元，香蕉3元，橙子4.5元；营业时间8:00-22:00，欢迎再来！Thank you";

INSTANTIATE_TEST_SUITE_P(
    Texts, SignFirmwareText,
    ::testing::Values(TextCase{"OneChineseSpeed1", kOne, 1}, TextCase{"OneChineseSpeed5", kOne, 5},
                      TextCase{"OneChineseSpeed10", kOne, 10}, TextCase{"EightSingleByteSpeed1", kEight, 1},
                      TextCase{"EightSingleByteSpeed5", kEight, 5}, TextCase{"EightSingleByteSpeed10", kEight, 10},
                      TextCase{"NineMixedSpeed1", kNine, 1}, TextCase{"NineMixedSpeed5", kNine, 5},
                      TextCase{"NineMixedSpeed10", kNine, 10}, TextCase{"SixtyMixedSpeed1", kSixty, 1},
                      TextCase{"SixtyMixedSpeed5", kSixty, 5}, TextCase{"SixtyMixedSpeed10", kSixty, 10}),
    [](const auto& row) { return std::string(row.param.name); });

// The first frame looked at until the last is taken: it plays through what comes between.
void lookUntilLast(Plan& plan) {
  Play& first = plan.plays.front();
  const SimTime step = playerOf(plan, first).stepTime();
  const SimTime span = wholeAt(plan, plan.plays.back()) - wholeAt(plan, first) - 2 * takeBound(plan.run.panel) - refreshOf(plan.run.panel);
  first.steps = {{0, span / step}};
}

// The line falls silent for longer than the firmware waits for a frame's rest.
constexpr SimTime kSilence = 600ms;

// A frame, then one cut short, then silence.
void cutShortThenSilent(Plan& plan, const std::filesystem::path& dir) {
  addFrame(plan, frameBytes(kOne, 1, 10, dir));
  const auto cut = frameBytes(kEight, 0, 10, dir);
  plan.run.line.insert(plan.run.line.end(), cut.begin(), cut.begin() + 300);
  plan.run.silences.push_back({plan.run.line.size() - 1, kSilence});
}

// A frame, then bytes at random, then silence.
void randomBytesThenSilent(Plan& plan, const std::filesystem::path& dir) {
  addFrame(plan, frameBytes(kOne, 2, 10, dir));
  std::mt19937 random(7);
  for (int k = 0; k < 200; ++k) plan.run.line.push_back(static_cast<std::uint8_t>(random()));
  plan.run.silences.push_back({plan.run.line.size() - 1, kSilence});
}

// The run ends in the silence, once the firmware has given up on the frame
// it was reading: the counters then hold only the bytes sent before it.
void endInSilence(Plan& plan) {
  Play& first = plan.plays.front();
  const SimTime step = playerOf(plan, first).stepTime();
  const SimTime givenUp = arrival(plan.run, plan.run.line.size() - 1) + kLineSilence + 3 * kRefresh;
  first.steps = {{0, (givenUp - wholeAt(plan, first) - 2 * takeBound(plan.run.panel) - kRefresh) / step + 1}};
}

// A frame cut short, then silence: dropped, the picture before plays on and the next frame is read whole.
void cutShort(Plan& plan, const std::filesystem::path& dir) {
  cutShortThenSilent(plan, dir);
  addFrame(plan, kNine, 5, 10, dir);
  lookUntilLast(plan);
}

// Bytes at random, then silence: nothing breaks, the next frame is read whole.
void randomBytes(Plan& plan, const std::filesystem::path& dir) {
  randomBytesThenSilent(plan, dir);
  addFrame(plan, kNine, 3, 10, dir);
  lookUntilLast(plan);
}

// The same, counted in the silence: no byte counted that the line did not send.
void cutShortCountedInSilence(Plan& plan, const std::filesystem::path& dir) {
  cutShortThenSilent(plan, dir);
  endInSilence(plan);
}

void randomBytesCountedInSilence(Plan& plan, const std::filesystem::path& dir) {
  randomBytesThenSilent(plan, dir);
  endInSilence(plan);
}

struct LineCase {
  const char* name;
  void (*build)(Plan&, const std::filesystem::path&);
};

void PrintTo(const LineCase& row, std::ostream* out) { *out << row.name; }

class SignFirmwareLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(SignFirmwareLine, PlaysEachWholeFrame) {
  TempDir dir;
  Plan plan;
  GetParam().build(plan, dir.path());
  addSpans(plan);
  checkRun(plan, simulate(plan, dir.path()));
}

INSTANTIATE_TEST_SUITE_P(Faults, SignFirmwareLine,
                         ::testing::Values(LineCase{"FrameCutShort", cutShort}, LineCase{"RandomBytes", randomBytes},
                                           LineCase{"FrameCutShortCountedInSilence", cutShortCountedInSilence},
                                           LineCase{"RandomBytesCountedInSilence", randomBytesCountedInSilence}),
                         [](const auto& row) { return std::string(row.param.name); });

// The board options the panel's wiring depends on, built beside the sign's firmware.
struct BoardCase {
  const char* name;
  const char* firmware;
  PanelWiring panel;
  int speed = 10;       // a multiple of the refresh
  int brightness = 16;  // of P10 modules, in sixteenths
  std::vector<int> modes = {1, 4};
};

void PrintTo(const BoardCase& row, std::ostream* out) { *out << row.name; }

class SignFirmwareBoard : public ::testing::TestWithParam<BoardCase> {};

Plan planOn(const BoardCase& board) {
  Plan plan;
  plan.run.firmware = kFirmware.parent_path() / board.firmware;
  plan.run.panel = board.panel;
  return plan;
}

TEST_P(SignFirmwareBoard, PlaysOnItsPanel) {
  TempDir dir;
  Plan plan = planOn(GetParam());
  for (const int mode : GetParam().modes) addFrame(plan, kNine, mode, GetParam().speed, dir.path());
  addSpans(plan);
  const auto result = simulate(plan, dir.path());
  checkRun(plan, result);
  if (!plan.run.panel.hub12) return;
  EXPECT_EQ(result.trace.wrongShiftCounts, 0) << "latches after other than a whole chain";
  EXPECT_EQ(result.trace.oeFaults, 0) << "lit while latching or with two groups";
  const double lit = static_cast<double>(result.trace.litTime.count()) / static_cast<double>(result.trace.phaseTime.count());
  std::cout << "OE lit " << lit * 100 << "% of the phases at brightness " << GetParam().brightness << "\n";
  EXPECT_NEAR(lit, GetParam().brightness / 16.0, 0.02);
  // Each step's panel composed, with the scan and the line running, within a
  // step (a refresh at speed 10) of the scan taking the one before; not while a frame is taken.
  const SimTime refresh = refreshOf(plan.run.panel), step = playerOf(plan, plan.plays.front()).stepTime();
  const auto taking = [&](SimTime t) {
    for (std::size_t k = 0; k < plan.plays.size() && k < result.framesTaken.size(); ++k) {
      if (t > wholeAt(plan, plan.plays[k]) && t < result.framesTaken[k] + refresh) return true;
    }
    return false;
  };
  SimTime longest{};
  for (const SimTime shown : result.viewsShown) {
    const auto composed = std::upper_bound(result.stepsComposed.begin(), result.stepsComposed.end(), shown);
    if (composed == result.stepsComposed.end() || taking(shown) || taking(*composed)) continue;
    if (*composed - shown < 2 * refresh) longest = std::max(longest, *composed - shown);
  }
  std::cout << "a step composed in " << std::chrono::duration_cast<std::chrono::microseconds>(longest).count() << " us at most\n";
  EXPECT_GT(longest, SimTime{});
  EXPECT_LT(longest, step);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, SignFirmwareBoard,
    ::testing::Values(BoardCase{"Columns64ActiveLow", "lumadot-sign-64-active-low.hex", {64, true, false}},
                      BoardCase{"TwoDataLines", "lumadot-sign-two-lines.hex", {128, false, true}},
                      BoardCase{"P10OneEveryMode", "lumadot-sign-hub12-32.hex", {32, true, false, true}, 10, 16, {0, 1, 2, 3, 4, 5}},
                      BoardCase{"P10OneDim1", "lumadot-sign-hub12-32-dim1.hex", {32, true, false, true}, 10, 1},
                      BoardCase{"P10TwoOrder0312ActiveHigh", "lumadot-sign-hub12-64-0312-high.hex", {64, false, false, true, true}, 10, 16, {2, 5}},
                      BoardCase{"P10Four", "lumadot-sign-hub12-128.hex", {128, true, false, true}, 10, 16, {1, 2, 4}},
                      BoardCase{"P10FourDim4Order0312OeLow", "lumadot-sign-hub12-128-dim4.hex",
                                {128, false, false, true, true, true}, 10, 4},
                      BoardCase{"P10EightAt20ms", "lumadot-sign-hub12-256.hex", {256, true, false, true, false, true, 20}, 9, 12, {2, 1}},
                      // An 8N1 line, each byte 10 bits long; and a 11.0592 MHz crystal, which scans 2 modules at most.
                      BoardCase{"Line8N1", "lumadot-sign-8n1.hex", {.columns = 128, .line8N1 = true}},
                      BoardCase{"P10TwoLine8N1", "lumadot-sign-hub12-64-8n1.hex", {.columns = 64, .activeLow = true, .hub12 = true, .line8N1 = true}},
                      BoardCase{"P10TwoAt11MHz", "lumadot-sign-hub12-64-11mhz.hex",
                                {.columns = 64, .activeLow = true, .hub12 = true, .crystalHz = 11'059'200}, 9, 16, {1, 2, 4}}),
    [](const auto& row) { return std::string(row.param.name); });

// Chains of P10 modules: 1, 2 and 4 at a 10 ms refresh, 8 at 20 ms; 1 and 2 at 11.0592 MHz.
const BoardCase kP10Chains[] = {
    {"P10One", "lumadot-sign-hub12-32.hex", {32, true, false, true}},
    {"P10Two", "lumadot-sign-hub12-64-0312-high.hex", {64, false, false, true, true}},
    {"P10Four", "lumadot-sign-hub12-128.hex", {128, true, false, true}},
    {"P10EightAt20ms", "lumadot-sign-hub12-256.hex", {256, true, false, true, false, true, 20}, 9, 12},
    {"P10OneAt11MHz", "lumadot-sign-hub12-32-11mhz.hex", {.columns = 32, .activeLow = true, .hub12 = true, .crystalHz = 11'059'200}},
    {"P10TwoAt11MHz", "lumadot-sign-hub12-64-11mhz.hex", {.columns = 64, .activeLow = true, .hub12 = true, .crystalHz = 11'059'200}},
};

class SignFirmwareScanCost : public ::testing::TestWithParam<BoardCase> {};

// Once the line is quiet, the interrupts are the scan's alone: it refreshes at
// its rate and leaves at least 35% of the machine cycles to the rest.
TEST_P(SignFirmwareScanCost, LeavesAThirdOfTheMachine) {
  TempDir dir;
  Plan plan = planOn(GetParam());
  addFrame(plan, frameBytes(kOne, 0, 1, dir.path()));
  const SimTime quiet = arrival(plan.run, plan.run.line.size() - 1) + 20ms;
  plan.run.recorded = {{quiet, quiet + 200ms}};
  plan.run.marks = {quiet, quiet + 200ms};
  plan.run.end = quiet + 201ms;
  const auto result = simulate(plan, dir.path());
  ASSERT_TRUE(result.reachedEnd) << result.log.substr(0, 4000);
  EXPECT_EQ(scanFaults(result.trace, plan.run.panel), "");
  EXPECT_EQ(result.trace.wrongShiftCounts, 0);
  ASSERT_EQ(result.marks.size(), 2U);
  const double share = (result.marks[1].inInterrupts - result.marks[0].inInterrupts) / (result.marks[1].all - result.marks[0].all);
  const auto phase = std::chrono::duration<double>(result.trace.meanRow());
  std::cout << GetParam().panel.columns / 32 << " modules: refresh " << 1 / (phase.count() * 4) << " Hz, the scan "
            << share * 100 << "% of the machine cycles, a phase's shift "
            << std::chrono::duration_cast<std::chrono::microseconds>(result.trace.shifting).count() / std::max(1LL, result.trace.rowIntervals)
            << " us on average\n";
  EXPECT_LE(share, 0.65);
  EXPECT_GT(share, 0.05);
}

INSTANTIATE_TEST_SUITE_P(P10, SignFirmwareScanCost, ::testing::ValuesIn(kP10Chains),
                         [](const auto& row) { return std::string(row.param.name); });

// One module's every dot, one at a time: eight rows a frame, a dot each, 32
// columns apart so the panel never shows two, moving left across the whole
// module. Each refresh is SignPlayer's picture, so each of the 512 places
// lights alone where the modules' order puts it.
TEST(SignFirmwareP10, LightsEachDotOfAModuleAlone) {
  constexpr int kSpacing = 32, kDotsAFrame = 8, kColumn = 3;
  TempDir dir;
  Plan plan;
  plan.run.firmware = kFirmware.parent_path() / "lumadot-sign-hub12-32.hex";
  plan.run.panel = {32, true, false, true};
  for (int half = 0; half < 2; ++half) {
    std::vector<std::uint8_t> display(static_cast<std::size_t>(kDotsAFrame * kSpacing / 8 * FRAME_STRIP_BYTES));
    for (int k = 0; k < kDotsAFrame; ++k) {
      const int column = k * kSpacing + kColumn, row = half * kDotsAFrame + k;
      display[static_cast<std::size_t>(column / 8 * FRAME_STRIP_BYTES + row)] = static_cast<std::uint8_t>(1U << (column % 8));
    }
    const auto fields = frameFields(kDotsAFrame * kSpacing / 8, 10, 1);  // in 8-dot cells
    ASSERT_TRUE(fields);
    const auto bytes = encodeFrame(*fields, display);
    const long long steps = playerOf(plan, {decodeFrames(bytes).front(), 0, {}}).steps();
    addFrame(plan, bytes, {{0, steps}});
  }
  addSpans(plan);
  const auto result = simulate(plan, dir.path());
  checkRun(plan, result);
  std::set<std::pair<int, int>> alone;
  for (const PanelRefresh& refresh : result.trace.refreshes) {
    std::vector<std::pair<int, int>> lit;
    for (int y = 0; y < DotPicture::kSignHeight; ++y) {
      for (int x = 0; x < refresh.picture.width(); ++x) {
        if (refresh.picture.lit(x, y)) lit.emplace_back(x, y);
      }
    }
    EXPECT_LE(lit.size(), 1U);
    if (lit.size() == 1) alone.insert(lit.front());
  }
  EXPECT_EQ(alone.size(), 512U);
}

// Boards with less XRAM than two of the widest frames hold one, as long as
// their RAM allows (as STC's parts do): a longer message plays cut to what it
// holds and is counted, nothing past the buffer is written (the dark row and
// the P10 panel buffers above it show true), and the panel is dark while the
// next frame comes in, which then plays whole.
struct SmallRamCase {
  const char* name;
  const char* firmware;
  PanelWiring panel;
  int heldCharacters;  // 16 dots wide, as the build's summary says
};

void PrintTo(const SmallRamCase& row, std::ostream* out) { *out << row.name; }

class SignFirmwareSmallRam : public ::testing::TestWithParam<SmallRamCase> {};

const char* const kThirty = "欢迎光临本店今日特价苹果每斤五元香蕉三元橙子四元营业时间八点";

TEST_P(SignFirmwareSmallRam, KeepsWhatFitsAndCountsTheRest) {
  TempDir dir;
  Plan plan;
  plan.run.firmware = kFirmware.parent_path() / GetParam().firmware;
  plan.run.panel = GetParam().panel;
  plan.oneBuffer = true;
  const auto whole = frameBytes(kThirty, 1, 10, dir.path());
  const auto held = static_cast<std::size_t>(GetParam().heldCharacters);
  const FrameFields kept{static_cast<std::uint8_t>(FRAME_NARROWEST + held), 10, 1};
  const ReceivedFrame came = decodeFrames(whole).front();
  ASSERT_GT(came.display().size(), 2 * held * FRAME_STRIP_BYTES);
  addFrame(plan, whole);
  Play& cut = plan.plays.back();
  cut.frame = decodeFrames(encodeFrame(kept, came.display().first(2 * held * FRAME_STRIP_BYTES))).front();
  cut.steps = stepsLookedAt(playerOf(plan, cut));
  // The next frame begins to come once those steps are over, and is looked at as it comes.
  const SimTime ready = lookedUntil(plan, cut);
  while (arrival(plan.run, plan.run.line.size()) < ready) plan.run.line.push_back(0);
  addFrame(plan, kNine, 4, 10, dir.path());
  const SimTime comes = beginsAt(plan, plan.plays.back());
  addSpans(plan, {{comes, comes + 150ms}});
  const auto result = simulate(plan, dir.path());
  checkRun(plan, result);
  EXPECT_EQ(result.counters.at("_frames_cut"), 1U) << countersOf(result);
}

INSTANTIATE_TEST_SUITE_P(
    Boards, SignFirmwareSmallRam,
    ::testing::Values(SmallRamCase{"RowScan1K", "lumadot-sign-1k.hex", {128, false, false}, 14},
                      SmallRamCase{"P10Two2K", "lumadot-sign-hub12-64-2k.hex", {64, true, false, true}, 23}),
    [](const auto& row) { return std::string(row.param.name); });

// Every byte with the wrong parity bit: each is dropped and counted, and nothing lights.
TEST(SignFirmwareParity, DropsEveryByteWithTheWrongParity) {
  TempDir dir;
  Plan plan;
  const auto bytes = frameBytes(kOne, 0, 10, dir.path());
  plan.run.line.assign(bytes.begin(), bytes.end());
  plan.run.oddParity = true;
  const SimTime last = arrival(plan.run, plan.run.line.size() - 1);
  addSpans(plan, {{last - 20ms, last + 40ms}});
  checkRun(plan, simulate(plan, dir.path()), static_cast<unsigned>(plan.run.line.size()));
}

}  // namespace
}  // namespace lumadot::test
