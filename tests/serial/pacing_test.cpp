// The pacing policy on a port that plays a script: how much each push hands
// to the driver and how long it takes, and how many bytes the driver holds
// each time it is asked. The clock is the script's, so the bounds are exact.
#include "serial/pacing.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

using std::chrono::milliseconds;

struct Push {
  std::int64_t takes = 0;  // bytes handed to the driver
  milliseconds lasts{0};   // cut short by the push's `within`
  bool fails = false;
};

class ScriptedPort final : public PacedPort {
 public:
  ScriptedPort(std::vector<Push> pushes, std::vector<std::int64_t> driver)
      : m_pushes(pushes.begin(), pushes.end()), m_driver(driver.begin(), driver.end()) {}

  std::int64_t queue = 0;
  milliseconds elapsed{0};
  std::vector<milliseconds> withins;  // each push's `within`
  int pauses = 0;

  std::int64_t queued() const override { return queue; }
  // The script's next answer; the last one stays. An empty script is an idle driver.
  std::int64_t driverQueued() override {
    if (m_driver.empty()) return 0;
    const std::int64_t held = m_driver.front();
    if (m_driver.size() > 1) m_driver.pop_front();
    return held;
  }
  // Past the script, the line takes nothing and the push waits all it may.
  Result<void> push(milliseconds within) override {
    withins.push_back(within);
    Push step{0, within};
    if (!m_pushes.empty()) {
      step = m_pushes.front();
      m_pushes.pop_front();
    }
    if (step.fails) return Failure("Input/output error");
    elapsed += std::min(step.lasts, within);
    queue -= std::min(step.takes, queue);
    return {};
  }
  Clock::time_point now() const override { return Clock::time_point{} + elapsed; }
  void pause(milliseconds span) override {
    ++pauses;
    elapsed += span;
  }

 private:
  std::deque<Push> m_pushes;
  std::deque<std::int64_t> m_driver;
};

struct PacingCase {
  const char* name;
  LineSettings settings;
  std::vector<std::int64_t> writes;  // bytes queued by each write
  bool drain;                        // the close's wait, after the writes
  std::vector<Push> pushes;
  std::vector<std::int64_t> driver;
  // What comes of it:
  std::string failure;  // "" when every step went through
  std::size_t pushCount;
  std::vector<std::int64_t> reports;  // told to the wait hook, in order
  milliseconds took;
  int pauses = 0;
};

const LineSettings k9600E{9600, Parity::even, 8, StopBits::one};      // 11 bits a byte
const LineSettings k115200N{115200, Parity::none, 8, StopBits::one};  // 10 bits a byte
const std::string kStalled = "the line took no more bytes in time";

class PacingTable : public ::testing::TestWithParam<PacingCase> {};

TEST_P(PacingTable, FeedsTheLineWithinItsBound) {
  const PacingCase& c = GetParam();
  ScriptedPort port(c.pushes, c.driver);
  Pacing pacing(port);
  std::vector<std::int64_t> reports;
  pacing.setWaitHook([&](std::int64_t sent) { reports.push_back(sent); });
  pacing.opened();
  pacing.setSettings(c.settings);
  Result<void> result;
  for (const std::int64_t bytes : c.writes) {
    port.queue += bytes;
    result = pacing.accepted(bytes);
    if (!result) break;
  }
  if (result && c.drain) result = pacing.drain();
  EXPECT_EQ(result ? std::string() : result.error().text, c.failure);
  if (!result && c.failure == kStalled) {
    EXPECT_EQ(result.error().cause.kind, CauseKind::lineStalled);
  }
  EXPECT_EQ(port.withins.size(), c.pushCount);
  EXPECT_EQ(reports, c.reports);
  EXPECT_EQ(port.elapsed, c.took);
  EXPECT_EQ(port.pauses, c.pauses);
}

// 4096 bytes at 9600 baud take 4693 ms on the line: the bound is 2000 + 2 * 4693 ms.
INSTANTIATE_TEST_SUITE_P(
    Script, PacingTable,
    ::testing::Values(
        PacingCase{"BelowTheHighWaterNothingIsPushed", k9600E, {4095}, false, {}, {}, "", 0, {}, milliseconds(0)},
        PacingCase{"AtTheHighWaterItIsPushedDownToHalf", k9600E, {4096}, false,
                   {{1000, milliseconds(30)}, {1000, milliseconds(30)}, {1000, milliseconds(30)}}, {}, "", 3,
                   {1000, 2000, 3000}, milliseconds(90)},
        PacingCase{"WritesAddUpToTheHighWater", k9600E, {3000, 3000}, false,
                   {{2000, milliseconds(5)}, {2000, milliseconds(5)}}, {}, "", 2, {2000, 4000}, milliseconds(10)},
        PacingCase{"ReportsLeaveOutWhatTheDriverHolds", k9600E, {5000}, false,
                   {{2000, milliseconds(5)}, {2000, milliseconds(5)}}, {1500, 500}, "", 2, {500, 3500},
                   milliseconds(10)},
        PacingCase{"ALineThatTakesNothingFailsAtTheBound", k9600E, {4096}, false, {}, {}, kStalled, 114,
                   std::vector<std::int64_t>(114, 0), milliseconds(11386)},
        PacingCase{"ThePortsFailurePassesThrough", k9600E, {5000}, false,
                   {{1000, milliseconds(20)}, {0, milliseconds(0), true}}, {}, "Input/output error", 2, {1000},
                   milliseconds(20)},
        PacingCase{"DrainPushesAllThenWaitsForTheDriver", k9600E, {100}, true, {{100, milliseconds(5)}}, {60, 30, 0},
                   "", 1, {40, 100}, milliseconds(15), 1},
        PacingCase{"DrainOfNothingWaitsForNothing", k9600E, {}, true, {}, {}, "", 0, {}, milliseconds(0)},
        // 1152 bytes at 115200 baud take 100 ms: the bound is 2200 ms.
        PacingCase{"ADriverThatNeverEmptiesFailsAtTheBound", k115200N, {1152}, true, {{1152, milliseconds(0)}}, {500},
                   kStalled, 1, std::vector<std::int64_t>(221, 652), milliseconds(2200), 220}),
    [](const auto& row) { return std::string(row.param.name); });

// The bound is counted from the open: a second frame on the same device starts afresh.
TEST(Pacing, OpeningAgainStartsTheBoundAndTheCountAfresh) {
  ScriptedPort port({}, {});
  Pacing pacing(port);
  std::vector<std::int64_t> reports;
  pacing.setWaitHook([&](std::int64_t sent) { reports.push_back(sent); });
  pacing.opened();
  port.queue = 4096;
  EXPECT_FALSE(pacing.accepted(4096));
  EXPECT_EQ(port.elapsed, milliseconds(11386));
  port.queue = 0;
  reports.clear();
  pacing.opened();
  port.queue = 4096;
  ASSERT_FALSE(pacing.accepted(4096));
  EXPECT_EQ(port.elapsed, milliseconds(2 * 11386));
  EXPECT_EQ(reports, std::vector<std::int64_t>(114, 0));
}

}  // namespace
}  // namespace lumadot
