#include <algorithm>
#include <vector>

#include "serial/system_port.h"
#include "serial/win32_port.h"

namespace lumadot {
namespace {

// The queue is ours: a WriteFile blocks until the driver takes it all, and
// gives up after a slice, so the pacing checks its bound between them.
class Win32SystemPort final : public SystemPort {
 public:
  std::int64_t queued() const override { return static_cast<std::int64_t>(m_queue.size()); }
  std::int64_t driverQueued() override {
    COMSTAT status{};
    DWORD errors = 0;
    return ClearCommError(m_port.handle(), &errors, &status) ? status.cbOutQue : 0;
  }
  Result<void> push(std::chrono::milliseconds) override {
    DWORD written = 0;
    if (!WriteFile(m_port.handle(), m_queue.data(), static_cast<DWORD>(m_queue.size()), &written, nullptr)) {
      return systemFailure(GetLastError());
    }
    m_queue.erase(m_queue.begin(),
                  m_queue.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(written, m_queue.size())));
    return {};
  }

  Result<void> open(const std::string& device) override {
    m_port.close();
    m_queue.clear();
    if (auto opened = m_port.open(device); !opened) return opened;
    COMMTIMEOUTS timeouts{};
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(kWaitSlice.count());
    if (auto timed = m_port.setTimeouts(timeouts); !timed) {
      m_port.close();
      return timed;
    }
    return {};
  }
  Result<void> configure(const LineSettings& settings) override { return m_port.configure(settings); }
  Result<void> enqueue(std::span<const std::uint8_t> bytes) override {
    m_queue.insert(m_queue.end(), bytes.begin(), bytes.end());
    return {};
  }
  void dropQueued() override {
    m_queue.clear();
    if (m_port.isOpen()) PurgeComm(m_port.handle(), PURGE_TXABORT | PURGE_TXCLEAR);
  }
  bool isOpen() const override { return m_port.isOpen(); }
  void close() override { m_port.close(); }

 private:
  Win32Port m_port;
  std::vector<std::uint8_t> m_queue;  // accepted, not yet handed to the driver
};

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A listener asking for longer still gets to look at its stop flag now and then.
constexpr milliseconds kLongestWait{10000};
// Wine waits out a read's whole timeout even once bytes have come, so the
// wait is made of short reads.
constexpr milliseconds kSlice{20};
constexpr std::size_t kChunk = 4096;

// Returns at once with whatever has come; with nothing, waits up to `wait` for the first byte.
COMMTIMEOUTS readTimeouts(milliseconds wait) {
  const auto ms = static_cast<DWORD>(std::clamp(wait, milliseconds(0), kSlice).count());
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = MAXDWORD;
  if (ms > 0) {
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = ms;
  }
  return timeouts;
}

class Win32ListeningPort final : public SystemListeningPort {
 public:
  Result<void> open(const std::string& device, const LineSettings& settings) override {
    if (auto opened = m_port.open(device); !opened) return opened;
    if (auto configured = m_port.configure(settings); !configured) {
      m_port.close();
      return configured;
    }
    return {};
  }
  // Waits at most kLongestWait; after the first bytes, whatever else is
  // already there comes in the same read.
  Result<std::vector<std::uint8_t>> read(milliseconds wait) override {
    const auto until = Clock::now() + std::clamp(wait, milliseconds(0), kLongestWait);
    std::vector<std::uint8_t> bytes;
    for (;;) {
      const auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
      auto got = readInto(bytes, left);
      while (got && *got == kChunk) got = readInto(bytes, milliseconds(0));
      if (!got) return bytes.empty() ? Result<std::vector<std::uint8_t>>(got.error()) : bytes;  // the error waits for the next read
      if (!bytes.empty() || Clock::now() >= until) return bytes;
    }
  }
  bool isOpen() const override { return m_port.isOpen(); }
  void close() override { m_port.close(); }

 private:
  // One ReadFile's worth, appended to `bytes`; how many came.
  Result<DWORD> readInto(std::vector<std::uint8_t>& bytes, milliseconds wait) {
    if (auto timed = m_port.setTimeouts(readTimeouts(wait)); !timed) return timed.error();
    const std::size_t before = bytes.size();
    bytes.resize(before + kChunk);
    DWORD got = 0;
    // A read error on a listening port is its device going: an unplugged
    // adapter, or the far end of a pseudo-terminal closed.
    if (!ReadFile(m_port.handle(), bytes.data() + before, static_cast<DWORD>(kChunk), &got, nullptr)) {
      bytes.resize(before);
      const std::string words = systemReason(GetLastError());
      return Failure("the port went away: " + words).because({CauseKind::portGone, words});
    }
    bytes.resize(before + got);
    return got;
  }

  Win32Port m_port;
};

}  // namespace

std::unique_ptr<SystemPort> makeSystemPort() { return std::make_unique<Win32SystemPort>(); }

std::unique_ptr<SystemListeningPort> makeSystemListeningPort() { return std::make_unique<Win32ListeningPort>(); }

}  // namespace lumadot
