#include "clock/clock_display.h"

namespace lumadot {

void ClockDisplay::startOrStop() {
  if (m_controls.runInProgress()) return;
  if (m_running) {
    stop();
  } else {
    start();
  }
  m_controls.runExtraction();
}

void ClockDisplay::start() {
  m_running = true;
  m_controls.showRunning(true);
  m_controls.startTimer(kClockInterval);
  m_controls.setSpeed(kClockSpeed);
  m_controls.setReverse(true);
  m_controls.setSplit(true);
  m_savedText = m_controls.inputText();
  m_controls.setInputText(clockSentence(m_now()));
}

void ClockDisplay::stop() {
  m_running = false;
  m_controls.showRunning(false);
  m_controls.stopTimer();
  m_controls.setSpeed(kNormalSpeed);
  m_controls.setReverse(false);
  m_controls.setSplit(false);
  m_controls.setInputText(m_savedText);
}

bool ClockDisplay::tick() {
  if (m_controls.runInProgress()) return false;
  m_controls.setReverse(true);
  m_controls.setSplit(true);
  m_controls.setSpeed(kClockSpeed);
  m_controls.setInputText(clockSentence(m_now()));
  m_controls.runExtraction();
  return true;
}

}  // namespace lumadot
