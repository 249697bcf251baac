#pragma once

// The clock display: the date-and-time sentence (clock_sentence), read in the
// user's locale (system_locale.h, qt_clock_reading.h), and the start/stop/tick
// logic below that the window and lumadot-cli clock both drive.


#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "clock/clock_sentence.h"

namespace lumadot {

inline constexpr std::chrono::milliseconds kClockInterval{7800};
inline constexpr std::u16string_view kClockSpeed = u"1";
inline constexpr std::u16string_view kNormalSpeed = u"5";

// The controls of the main window that the clock reads and writes. The
// window implements it over its widgets; the command line over plain fields.
class ClockControls {
 public:
  virtual ~ClockControls() = default;

  // Command3's caption: what a click on it will do.
  virtual void showRunning(bool running) = 0;
  // Timer1; the first tick falls one interval after the start.
  virtual void startTimer(std::chrono::milliseconds interval) = 0;
  virtual void stopTimer() = 0;
  virtual void setSpeed(std::u16string_view text) = 0;  // Combo7
  virtual void setReverse(bool on) = 0;                 // Check1
  virtual void setSplit(bool on) = 0;                   // Check2
  virtual std::u16string inputText() const = 0;         // Text1
  virtual void setInputText(std::u16string_view text) = 0;
  // True while a run has a message box or the send progress open.
  virtual bool runInProgress() const = 0;
  virtual void runExtraction() = 0;  // Command1_Click
};

// The clock display: the window's Command3 starts and stops it, its Timer1
// ticks it, and each of the three ends in one extraction run of the sentence
// (or, on stop, of the user's own text). Starting keeps the user's text and
// sets the clock's options; stopping gives both back.
class ClockDisplay {
 public:
  using TimeSource = std::function<ClockReading()>;

  ClockDisplay(ClockControls& controls, TimeSource now) : m_controls(controls), m_now(std::move(now)) {}

  // Starts a stopped clock, stops a running one. Dropped, like a click on
  // Command1, while a run is in progress.
  void startOrStop();
  // Returns false when the tick was skipped because a run is still in
  // progress, so runs and message boxes never pile up; the timer keeps on.
  bool tick();

  bool running() const { return m_running; }
  // The user's text, kept while the clock runs.
  const std::u16string& savedText() const { return m_savedText; }

 private:
  void start();
  void stop();

  ClockControls& m_controls;
  TimeSource m_now;
  bool m_running = false;
  std::u16string m_savedText;
};

}  // namespace lumadot
