#include "clock/clock_display.h"

namespace lumadot {

void ClockDisplay::Command3_Click() {
  if (m_controls.runInProgress()) return;
  if (m_controls.buttonCaption() == kStartClockCaption) {
    m_controls.setButtonCaption(kStopClockCaption);
    m_controls.startTimer(kClockInterval);
    m_controls.setSpeed(kClockSpeed);
    m_controls.setReverse(true);
    m_controls.setSplit(true);
    m_savedText = m_controls.inputText();
    m_controls.setInputText(clockSentence(m_now()));
  } else {
    m_controls.setButtonCaption(kStartClockCaption);
    m_controls.stopTimer();
    m_controls.setSpeed(kNormalSpeed);
    m_controls.setReverse(false);
    m_controls.setSplit(false);
    m_controls.setInputText(m_savedText);
  }
  m_controls.runExtraction();
}

bool ClockDisplay::Timer1_Timer() {
  if (m_controls.runInProgress()) return false;
  m_controls.setReverse(true);
  m_controls.setSplit(true);
  m_controls.setSpeed(kClockSpeed);
  m_controls.setInputText(clockSentence(m_now()));
  m_controls.runExtraction();
  return true;
}

}  // namespace lumadot
