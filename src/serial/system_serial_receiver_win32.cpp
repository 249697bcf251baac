#include "serial/system_serial_receiver.h"

#include <algorithm>

#include "serial/port_mapping.h"
#include "serial/win32_port.h"

namespace lumadot {
namespace {

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

}  // namespace

struct SystemSerialReceiver::Impl {
  Win32Port port;
  std::string name;

  Failure fail(const Failure& why) const { return failureAt(name, why); }

  // One ReadFile's worth, appended to `bytes`; how many came.
  Result<DWORD> readInto(std::vector<std::uint8_t>& bytes, milliseconds wait) {
    if (auto timed = port.setTimeouts(readTimeouts(wait)); !timed) return fail(timed.error());
    const std::size_t before = bytes.size();
    bytes.resize(before + kChunk);
    DWORD got = 0;
    // A read error on a listening port is its device going: an unplugged
    // adapter, or the far end of a pseudo-terminal closed.
    if (!ReadFile(port.handle(), bytes.data() + before, static_cast<DWORD>(kChunk), &got, nullptr)) {
      bytes.resize(before);
      const std::string words = systemReason(GetLastError());
      return fail(Failure("the port went away: " + words).because({CauseKind::portGone, words}));
    }
    bytes.resize(before + got);
    return got;
  }
};

SystemSerialReceiver::SystemSerialReceiver() : d(std::make_unique<Impl>()) {}

SystemSerialReceiver::~SystemSerialReceiver() { close(); }

Result<void> SystemSerialReceiver::openPort(const PortChoice& port, const LineSettings& settings) {
  close();
  const auto device = mappedDevice(port, d->name);
  if (!device) return d->fail(device.error());
  return open(*device, settings);
}

Result<void> SystemSerialReceiver::open(const std::string& device, const LineSettings& settings) {
  if (auto opened = d->port.open(device); !opened) return d->fail(opened.error());
  if (auto configured = d->port.configure(settings); !configured) {
    d->port.close();
    return d->fail(configured.error());
  }
  return {};
}

// After the first bytes, whatever else is already there comes in the same read.
Result<std::vector<std::uint8_t>> SystemSerialReceiver::read(milliseconds wait) {
  if (!d->port.isOpen()) return d->fail(portNotOpen());
  const auto until = Clock::now() + std::clamp(wait, milliseconds(0), kLongestWait);
  std::vector<std::uint8_t> bytes;
  for (;;) {
    const auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
    auto got = d->readInto(bytes, left);
    while (got && *got == kChunk) got = d->readInto(bytes, milliseconds(0));
    if (!got) return bytes.empty() ? Result<std::vector<std::uint8_t>>(got.error()) : bytes;  // the error waits for the next read
    if (!bytes.empty() || Clock::now() >= until) return bytes;
  }
}

void SystemSerialReceiver::close() { d->port.close(); }

bool SystemSerialReceiver::isOpen() const { return d->port.isOpen(); }

const std::string& SystemSerialReceiver::name() const { return d->name; }

}  // namespace lumadot
