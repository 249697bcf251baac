// lumadot-cli clock's Timer1 on a clock the test steps: each nap moves it on
// by exactly the nap, and a run keeps the loop busy by moving it on at once.
#include "clock/tick_timer.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "clock/clock_display.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;
using std::chrono::milliseconds;

class SteppedClock final : public WaitClock {
 public:
  Time now() const override { return m_now; }
  void sleepFor(milliseconds span) override {
    naps.push_back(span);
    m_now += span;
  }
  void pass(milliseconds span) { m_now += span; }
  milliseconds elapsed() const { return std::chrono::duration_cast<milliseconds>(m_now - Time()); }

  std::vector<milliseconds> naps;

 private:
  Time m_now;
};

struct WaitRow {
  const char* name;
  milliseconds interval;
  milliseconds busy;                     // a run in progress from the start, then overdue ticks dropped
  std::optional<milliseconds> ctrlCAt;   // Ctrl+C comes once the clock reaches this
  bool ticks;                            // what the wait returns
  milliseconds returnsAt;
  std::vector<milliseconds> naps;
};

const WaitRow kWaitRows[] = {
    {"FirstTickOneIntervalAfterTheStart", milliseconds(250), {}, {}, true, milliseconds(250),
     {milliseconds(100), milliseconds(100), milliseconds(50)}},
    {"ARunShorterThanTheIntervalKeepsTheTick", milliseconds(250), milliseconds(180), {}, true, milliseconds(250),
     {milliseconds(70)}},
    {"ARunOverATickDropsIt", milliseconds(250), milliseconds(300), {}, true, milliseconds(500),
     {milliseconds(100), milliseconds(100)}},
    {"ARunOverManyTicksDropsThemAll", milliseconds(250), milliseconds(1010), {}, true, milliseconds(1250),
     {milliseconds(100), milliseconds(100), milliseconds(40)}},
    {"ATickFallingAsTheRunEndsIsDropped", milliseconds(250), milliseconds(250), {}, true, milliseconds(500),
     {milliseconds(100), milliseconds(100), milliseconds(50)}},
    {"CtrlCIsNoticedWithinANap", milliseconds(250), {}, milliseconds(120), false, milliseconds(200),
     {milliseconds(100), milliseconds(100)}},
    {"CtrlCDuringARunStopsBeforeAnyNap", milliseconds(250), milliseconds(100), milliseconds(50), false,
     milliseconds(100), {}},
};

class TickWait : public ::testing::TestWithParam<WaitRow> {};

TEST_P(TickWait, SleepsUntilTheNextTickInShortNaps) {
  const WaitRow& row = GetParam();
  SteppedClock clock;
  TickTimer timer(clock);
  timer.start(row.interval);
  clock.pass(row.busy);
  timer.dropOverdueTicks();
  const auto interrupted = [&] { return row.ctrlCAt && clock.elapsed() >= *row.ctrlCAt; };
  EXPECT_EQ(timer.waitForTick(interrupted), row.ticks);
  EXPECT_EQ(clock.elapsed(), row.returnsAt);
  EXPECT_EQ(clock.naps, row.naps);
}

INSTANTIATE_TEST_SUITE_P(Waits, TickWait, ::testing::ValuesIn(kWaitRows), [](const auto& row) {
  return std::string(row.param.name);
});

// Ticks fall 7.8 s apart for as long as the clock runs, each counted from the last, not from the run.
TEST(TickTimer, TicksEveryIntervalUntilStopped) {
  SteppedClock clock;
  TickTimer timer(clock);
  const auto never = [] { return false; };
  EXPECT_FALSE(timer.active());
  EXPECT_FALSE(timer.waitForTick(never));
  EXPECT_TRUE(clock.naps.empty());

  timer.start(kClockInterval);
  std::vector<milliseconds> ticks;
  for (int tick = 0; tick < 3; ++tick) {
    ASSERT_TRUE(timer.waitForTick(never));
    ticks.push_back(clock.elapsed());
    clock.pass(milliseconds(900));  // the run
    timer.dropOverdueTicks();
  }
  EXPECT_EQ(ticks, (std::vector<milliseconds>{milliseconds(7800), milliseconds(15600), milliseconds(23400)}));
  EXPECT_EQ(clock.naps.size(), 78U + 69U + 69U);  // in tenths of a second: 7.8 s to the first, then 6.9 s after each run

  timer.stop();
  clock.naps.clear();
  EXPECT_FALSE(timer.active());
  EXPECT_FALSE(timer.waitForTick(never));
  EXPECT_TRUE(clock.naps.empty());
}

}  // namespace
}  // namespace lumadot
