#include "clock/tick_timer.h"

#include <algorithm>
#include <thread>

namespace lumadot {

WaitClock::Time SteadyWaitClock::now() const { return std::chrono::steady_clock::now(); }

void SteadyWaitClock::sleepFor(std::chrono::milliseconds span) { std::this_thread::sleep_for(span); }

TickTimer::TickTimer() : m_clock(&m_steady) {}

void TickTimer::start(std::chrono::milliseconds interval) {
  m_interval = interval;
  m_next = m_clock->now() + interval;
}

void TickTimer::dropOverdueTicks() {
  while (m_next && *m_next <= m_clock->now()) *m_next += m_interval;
}

bool TickTimer::waitForTick(const std::function<bool()>& interrupted) {
  // Ctrl+C is noticed within a nap without racing the signal.
  constexpr std::chrono::milliseconds kNap{100};
  while (m_next && !interrupted()) {
    const auto now = m_clock->now();
    if (now >= *m_next) return true;
    m_clock->sleepFor(std::min(std::chrono::ceil<std::chrono::milliseconds>(*m_next - now), kNap));
  }
  return false;
}

}  // namespace lumadot
