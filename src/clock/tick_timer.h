#pragma once

// The clock's Timer1 where there is no event loop (lumadot-cli clock): when
// the next tick falls, and a wait for it. The time comes from a WaitClock, so
// tests step it instead of sleeping.

#include <chrono>
#include <functional>
#include <optional>

namespace lumadot {

class WaitClock {
 public:
  using Time = std::chrono::steady_clock::time_point;

  virtual ~WaitClock() = default;
  virtual Time now() const = 0;
  virtual void sleepFor(std::chrono::milliseconds span) = 0;
};

// The steady clock and a real sleep.
class SteadyWaitClock final : public WaitClock {
 public:
  Time now() const override;
  void sleepFor(std::chrono::milliseconds span) override;
};

class TickTimer {
 public:
  // On the steady clock, or on `clock`, which must outlive the timer.
  TickTimer();
  explicit TickTimer(WaitClock& clock) : m_clock(&clock) {}
  TickTimer(const TickTimer&) = delete;
  TickTimer& operator=(const TickTimer&) = delete;

  // The first tick falls one interval from now.
  void start(std::chrono::milliseconds interval);
  void stop() { m_next.reset(); }
  bool active() const { return m_next.has_value(); }

  // Ticks that fell due while a run kept the loop busy are dropped, as the
  // window's timer drops them; the next is the first still to come.
  void dropOverdueTicks();
  // Sleeps until the next tick, in naps short enough that `interrupted` is
  // noticed at once; false when the timer is stopped or interrupted first.
  bool waitForTick(const std::function<bool()>& interrupted);

 private:
  SteadyWaitClock m_steady;
  WaitClock* m_clock;
  std::chrono::milliseconds m_interval{};
  std::optional<WaitClock::Time> m_next;
};

}  // namespace lumadot
