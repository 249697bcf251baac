#pragma once

// Runs on a worker thread where only the latest request matters: while one
// run is on its way, a new request waits in place of any that waited before,
// so a burst of changes costs one run after the current one, not one each.
// Included only where a LatestRun is made; it brings Qt Concurrent along.

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <functional>
#include <optional>
#include <utility>

namespace lumadot {

template <class Request, class Output>
class LatestRun {
 public:
  using Work = std::function<Output(const Request&)>;      // on the worker
  using Started = std::function<void(const Request&)>;     // on the caller's thread, as a run starts
  using Done = std::function<void(Output)>;                // on the caller's thread, before the next starts

  LatestRun(Work work, Started started, Done done)
      : m_work(std::move(work)), m_started(std::move(started)), m_done(std::move(done)) {
    QObject::connect(&m_watcher, &QFutureWatcherBase::finished, [this] { finished(); });
  }
  LatestRun(const LatestRun&) = delete;
  LatestRun& operator=(const LatestRun&) = delete;
  // The run on its way ends first: it may use what its owner is about to destroy.
  ~LatestRun() { m_watcher.waitForFinished(); }

  void ask(Request request) {
    if (m_running) {
      m_waiting = std::move(request);
      return;
    }
    start(std::move(request));
  }

  // A run on its way, or one waiting for it.
  bool busy() const { return m_running || m_waiting.has_value(); }

 private:
  void start(Request request) {
    m_started(request);
    m_running = true;
    m_watcher.setFuture(QtConcurrent::run([work = m_work, request = std::move(request)] { return work(request); }));
  }

  void finished() {
    m_running = false;
    m_done(m_watcher.result());
    if (m_waiting) {
      Request next = std::move(*m_waiting);
      m_waiting.reset();
      start(std::move(next));
    }
  }

  Work m_work;
  Started m_started;
  Done m_done;
  QFutureWatcher<Output> m_watcher;
  bool m_running = false;  // until its output is done with
  std::optional<Request> m_waiting;
};

}  // namespace lumadot
