#include "clock/clock_display.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumadot {
namespace {

using namespace std::chrono_literals;

// The window's controls as fields, each run recording what it saw.
struct FakeWindow final : ClockControls {
  struct Run {
    std::u16string text;
    bool reverse;
    bool split;
    std::u16string speed;
    bool operator==(const Run&) const = default;
  };

  bool shownRunning = false;
  bool timerOn = false;
  std::chrono::milliseconds interval{};
  std::u16string speed{u"5"};
  bool reverse = false;
  bool split = false;
  std::u16string text;
  bool busy = false;
  std::vector<Run> runs;

  void showRunning(bool running) override { shownRunning = running; }
  void startTimer(std::chrono::milliseconds value) override {
    timerOn = true;
    interval = value;
  }
  void stopTimer() override { timerOn = false; }
  void setSpeed(std::u16string_view value) override { speed = value; }
  void setReverse(bool on) override { reverse = on; }
  void setSplit(bool on) override { split = on; }
  std::u16string inputText() const override { return text; }
  void setInputText(std::u16string_view value) override { text = value; }
  bool runInProgress() const override { return busy; }
  void runExtraction() override { runs.push_back({text, reverse, split, speed}); }
};

// Seconds that move on with every reading, as a real clock's would (ten readings at most).
struct TickingTime {
  char16_t second = u'0';
  ClockReading operator()() { return {u"2026/12/7", 2, u"14:05:0" + std::u16string(1, second++)}; }
};

class ClockDisplayTest : public ::testing::Test {
 protected:
  FakeWindow window;
  ClockDisplay clock{window, TickingTime{}};
};

TEST_F(ClockDisplayTest, StartShowsTheSentenceAtOnce) {
  window.text = u"中A";
  clock.startOrStop();
  EXPECT_TRUE(clock.running());
  EXPECT_TRUE(window.shownRunning);
  EXPECT_TRUE(window.timerOn);
  EXPECT_EQ(window.interval, 7800ms);
  EXPECT_EQ(clock.savedText(), u"中A");
  ASSERT_EQ(window.runs.size(), 1u);
  EXPECT_EQ(window.runs[0], (FakeWindow::Run{u"今天是2026/12/7(星期一)现在时间14:05:00", true, true, u"1"}));
}

TEST_F(ClockDisplayTest, TickUndoesEditsMadeWhileRunning) {
  window.text = u"user";
  clock.startOrStop();
  // The user switches the options and edits the text meanwhile.
  window.reverse = false;
  window.split = false;
  window.speed = u"10";
  window.text = u"edited";

  EXPECT_TRUE(clock.tick());
  ASSERT_EQ(window.runs.size(), 2u);
  EXPECT_EQ(window.runs[1], (FakeWindow::Run{u"今天是2026/12/7(星期一)现在时间14:05:01", true, true, u"1"}));
  EXPECT_EQ(clock.savedText(), u"user");  // the edit is not kept
  EXPECT_TRUE(window.timerOn);
}

TEST_F(ClockDisplayTest, StopGivesTheUserTextBackAndSwitchesTheOptionsOff) {
  window.text = u"中A";
  window.speed = u"3";  // whatever stood there before the start
  clock.startOrStop();
  clock.tick();
  clock.startOrStop();
  EXPECT_FALSE(clock.running());
  EXPECT_FALSE(window.shownRunning);
  EXPECT_FALSE(window.timerOn);
  ASSERT_EQ(window.runs.size(), 3u);
  EXPECT_EQ(window.runs[2], (FakeWindow::Run{u"中A", false, false, u"5"}));
}

TEST_F(ClockDisplayTest, EveryCycleKeepsTheTextItStartedFrom) {
  const std::u16string texts[] = {u"", u" 中\r\nA\u00A0 ", u"\U0001F600?", std::u16string(4097, u'A')};
  for (const auto& text : texts) {
    window.text = text;
    clock.startOrStop();
    clock.startOrStop();
    EXPECT_EQ(window.text, text);
    EXPECT_EQ(window.runs.back().text, text);
  }
  EXPECT_EQ(window.runs.size(), 8u);
}

TEST_F(ClockDisplayTest, TickDuringARunIsSkippedAndTheTimerKeepsOn) {
  window.text = u"user";
  clock.startOrStop();
  window.reverse = false;  // an edit the skipped tick must not touch either
  window.busy = true;      // the first run's message box is still open
  EXPECT_FALSE(clock.tick());
  EXPECT_EQ(window.runs.size(), 1u);
  EXPECT_FALSE(window.reverse);
  EXPECT_EQ(window.text, window.runs[0].text);
  EXPECT_TRUE(window.timerOn);

  window.busy = false;  // the box is closed: the next tick runs
  EXPECT_TRUE(clock.tick());
  EXPECT_EQ(window.runs.size(), 2u);
  EXPECT_TRUE(window.reverse);
}

TEST_F(ClockDisplayTest, ClickDuringARunIsDroppedLikeCommand1) {
  window.text = u"user";
  window.busy = true;
  clock.startOrStop();
  EXPECT_FALSE(clock.running());
  EXPECT_EQ(window.text, u"user");
  EXPECT_TRUE(window.runs.empty());
}

}  // namespace
}  // namespace lumadot
