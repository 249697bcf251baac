#include "serial/pacing.h"

#include <algorithm>
#include <thread>

namespace lumadot {

using std::chrono::milliseconds;

void PacedPort::pause(milliseconds span) { std::this_thread::sleep_for(span); }

Failure lineStalled() { return Failure("the line took no more bytes in time").because({CauseKind::lineStalled}); }

void Pacing::opened() {
  m_accepted = 0;
  m_settings = LineSettings{};
  m_openedAt = m_port.now();
}

// Every byte accepted so far must be out by then: twice its time on the line, and some slack.
PacedPort::Clock::time_point Pacing::deadline() const {
  const std::int64_t lineMs = m_accepted * m_settings.bitsPerByte() * 1000 / std::max(m_settings.baud, 1);
  return m_openedAt + kSlack + milliseconds(2 * lineMs);
}

void Pacing::report() {
  if (m_hook) m_hook(m_accepted - m_port.queued() - m_port.driverQueued());
}

Result<void> Pacing::accepted(std::int64_t count) {
  m_accepted += count;
  if (m_port.queued() < kHighWater) return {};
  return pushUntil(kHighWater / 2);
}

Result<void> Pacing::drain() {
  if (auto pushed = pushUntil(0); !pushed) return pushed;
  return waitForDriver();
}

// Hands queued bytes to the driver until at most `limit` are left.
Result<void> Pacing::pushUntil(std::int64_t limit) {
  while (m_port.queued() > limit) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline() - m_port.now());
    if (left.count() <= 0) return lineStalled();
    if (auto pushed = m_port.push(std::min(left, kWaitSlice)); !pushed) return pushed;
    report();
  }
  return {};
}

Result<void> Pacing::waitForDriver() {
  while (m_port.driverQueued() > 0) {
    if (m_port.now() >= deadline()) return lineStalled();
    m_port.pause(kDriverPoll);
    report();
  }
  return {};
}

}  // namespace lumadot
