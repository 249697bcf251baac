#include "serial/win32_serial_device.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <vector>

#include "serial/port_mapping.h"
#include "serial/win32_port.h"

namespace lumadot {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Enough queued bytes to keep the line busy, few enough that a far end that
// stops reading is noticed while the listing is still being written.
constexpr std::size_t kHighWater = 4096;
constexpr DWORD kWaitSliceMs = 100;   // longest a WriteFile blocks, and so the pause between progress reports
constexpr milliseconds kSlack{2000};  // on top of twice the line time

}  // namespace

struct Win32SerialDevice::Impl {
  Win32Port port;
  PortChoice choice{1, {}};
  std::string device;
  LineSettings settings;
  std::vector<std::uint8_t> queue;  // accepted, not yet handed to the driver
  std::int64_t accepted = 0;        // bytes handed to write() since open
  Clock::time_point openedAt;
  WaitHook hook;
  std::optional<Failure> failure;  // once a frame is broken, every later write fails with it

  // The rest of the frame is dropped at once, so none of it goes out later.
  Failure fail(const Failure& why) {
    dropQueued();
    failure = failureAt(portLabel(choice, device), why);
    return *failure;
  }
  Failure failFromSystem() { return fail(systemFailure(GetLastError())); }
  Failure failStalled() {
    return fail(Failure("the line took no more bytes in time").because({CauseKind::lineStalled}));
  }

  void dropQueued() {
    queue.clear();
    if (port.isOpen()) PurgeComm(port.handle(), PURGE_TXABORT | PURGE_TXCLEAR);
  }

  // Every byte accepted so far must be out by then: twice its time on the line, and some slack.
  Clock::time_point deadline() const {
    const std::int64_t lineMs = accepted * settings.bitsPerByte() * 1000 / std::max(settings.baud, 1);
    return openedAt + kSlack + milliseconds(2 * lineMs);
  }

  // Bytes the driver holds that have not yet left the port.
  std::int64_t driverQueued() const {
    COMSTAT status{};
    DWORD errors = 0;
    return ClearCommError(port.handle(), &errors, &status) ? status.cbOutQue : 0;
  }

  void report() const {
    if (hook) hook(accepted - static_cast<std::int64_t>(queue.size()) - driverQueued());
  }

  Result<void> pushUntil(std::size_t limit);
  Result<void> waitForDriver();
};

// Hands queued bytes to the driver until at most `limit` are left; each
// WriteFile gives up after a slice, so the bound is checked between them.
Result<void> Win32SerialDevice::Impl::pushUntil(std::size_t limit) {
  while (queue.size() > limit) {
    if (Clock::now() >= deadline()) return failStalled();
    DWORD written = 0;
    if (!WriteFile(port.handle(), queue.data(), static_cast<DWORD>(queue.size()), &written, nullptr)) {
      return failFromSystem();
    }
    queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(written, queue.size())));
    report();
  }
  return {};
}

Result<void> Win32SerialDevice::Impl::waitForDriver() {
  while (driverQueued() > 0) {
    if (Clock::now() >= deadline()) return failStalled();
    std::this_thread::sleep_for(milliseconds(10));
    report();
  }
  return {};
}

Win32SerialDevice::Win32SerialDevice() : d(std::make_unique<Impl>()) {}

Win32SerialDevice::~Win32SerialDevice() { abandon(); }

void Win32SerialDevice::setPort(const PortChoice& port) { d->choice = port; }

Result<void> Win32SerialDevice::open() {
  d->failure.reset();
  d->port.close();
  d->queue.clear();
  const auto device = mappedDevice(d->choice);
  d->device = device ? *device : std::string();
  if (!device) return d->fail(device.error());
  if (auto opened = d->port.open(*device); !opened) return d->fail(opened.error());
  COMMTIMEOUTS timeouts{};
  timeouts.WriteTotalTimeoutConstant = kWaitSliceMs;
  if (auto timed = d->port.setTimeouts(timeouts); !timed) {
    d->port.close();
    return d->fail(timed.error());
  }
  d->accepted = 0;
  d->settings = LineSettings{};
  d->openedAt = Clock::now();
  return {};
}

Result<void> Win32SerialDevice::configure(const LineSettings& settings) {
  if (!d->port.isOpen()) return d->fail(portNotOpen());
  d->settings = settings;
  if (auto configured = d->port.configure(settings); !configured) return d->fail(configured.error());
  return {};
}

Result<void> Win32SerialDevice::write(std::span<const std::uint8_t> bytes) {
  if (d->failure) return *d->failure;
  if (!d->port.isOpen()) return d->fail(portNotOpen());
  d->queue.insert(d->queue.end(), bytes.begin(), bytes.end());
  d->accepted += static_cast<std::int64_t>(bytes.size());
  if (d->queue.size() < kHighWater) return {};
  return d->pushUntil(kHighWater / 2);
}

Result<void> Win32SerialDevice::close() {
  if (!d->port.isOpen()) return {};
  Result<void> sent = d->failure ? Result<void>(*d->failure) : d->pushUntil(0);
  if (sent) sent = d->waitForDriver();
  d->port.close();
  return sent;
}

// Dropping the queue first keeps the close from waiting for the driver to drain it.
void Win32SerialDevice::abandon() {
  if (!d->port.isOpen()) return;
  d->dropQueued();
  d->port.close();
}

void Win32SerialDevice::setWaitHook(WaitHook hook) { d->hook = std::move(hook); }

}  // namespace lumadot
