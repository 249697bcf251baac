// What every SerialDevice promises, checked on each with its far end: the
// frame file, and the system's port on a pseudo-terminal (Linux) or on a COM
// port wine joins to another (Windows, run by scripts/wine_serial_check.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

#include "serial/frame_file.h"
#include "serial/system_serial_device.h"
#include "support/process.h"

#ifdef _WIN32
#include <atomic>

#include "serial/system_serial_receiver.h"
#else
#include "support/pseudo_terminal.h"
#endif

namespace lumadot {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Every byte value, so a line that translated or swallowed any would show.
Bytes pattern(std::size_t size, std::uint8_t seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + seed);
  return bytes;
}

const LineSettings k115200N{115200, Parity::none, 8, StopBits::one};

// A device and what has reached its far end since the line was made.
class FileLine {
 public:
  SerialDevice& device() { return m_device; }
  Bytes farEnd(std::size_t) const {
    if (!std::filesystem::exists(m_path)) return {};
    const std::string text = test::readFile(m_path);
    return Bytes(text.begin(), text.end());
  }
  static bool usable() { return true; }

 private:
  test::TempDir m_dir;
  std::filesystem::path m_path = m_dir.path() / "frames.bin";
  FrameFile m_device{m_path};
};

#ifndef _WIN32
class PortLine {
 public:
  PortLine() { m_device.setPort({0, m_terminal.path()}); }
  SerialDevice& device() { return m_device; }
  // Waits for `count` bytes, then a moment longer, so that more would show.
  Bytes farEnd(std::size_t count) {
    m_terminal.received(count, 5s);
    return m_terminal.receivedAll();
  }
  static bool usable() { return true; }

 private:
  test::PseudoTerminal m_terminal;
  SystemSerialDevice m_device;
};
#else
std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// COM1 and COM2 joined into one line, as scripts/wine_serial_check.sh names
// them in LUMADOT_CHECK_LINE; the far end is read all along, so the line never backs up.
class PortLine {
 public:
  PortLine() {
    const std::string line = environment("LUMADOT_CHECK_LINE");
    const std::size_t comma = line.find(',');
    m_device.setPort({0, line.substr(0, comma)});
    if (!m_receiver.openPort({0, line.substr(comma + 1)}, k115200N)) return;
    m_reader = std::thread([this] {
      while (!m_stop) {
        const auto bytes = m_receiver.read(50ms);
        if (!bytes) return;
        const std::lock_guard lock(m_mutex);
        m_received.insert(m_received.end(), bytes->begin(), bytes->end());
      }
    });
  }
  ~PortLine() {
    m_stop = true;
    if (m_reader.joinable()) m_reader.join();
  }
  SerialDevice& device() { return m_device; }
  // Waits for `count` bytes, then until nothing more comes for a moment.
  Bytes farEnd(std::size_t count) {
    const auto until = std::chrono::steady_clock::now() + 15s;
    while (size() < count && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(20ms);
    std::size_t seen = 0;
    do {
      seen = size();
      std::this_thread::sleep_for(200ms);
    } while (size() != seen);
    const std::lock_guard lock(m_mutex);
    return m_received;
  }
  static bool usable() { return environment("LUMADOT_CHECK_LINE").find(',') != std::string::npos; }

 private:
  std::size_t size() {
    const std::lock_guard lock(m_mutex);
    return m_received.size();
  }

  SystemSerialDevice m_device;
  SystemSerialReceiver m_receiver;
  std::atomic<bool> m_stop{false};
  std::mutex m_mutex;
  Bytes m_received;
  std::thread m_reader;
};
#endif

template <class Line>
class SerialDeviceContract : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!Line::usable()) GTEST_SKIP() << "run by scripts/wine_serial_check.sh, which maps the COM ports it names";
    m_line = std::make_unique<Line>();
  }
  SerialDevice& device() { return m_line->device(); }
  Bytes farEnd(std::size_t count) { return m_line->farEnd(count); }

  // One frame: open, set, written in pieces of these sizes (the last takes the rest), closed.
  Result<void> sendFrame(const Bytes& frame, const std::vector<std::size_t>& pieces) {
    auto result = device().open();
    if (result) result = device().configure(k115200N);
    std::size_t at = 0;
    for (std::size_t i = 0; result && at < frame.size(); ++i) {
      const std::size_t n = i < pieces.size() ? std::min(pieces[i], frame.size() - at) : frame.size() - at;
      result = device().write(std::span(frame).subspan(at, n));
      at += n;
    }
    if (result) result = device().close();
    return result;
  }

  std::unique_ptr<Line> m_line;
};

using Lines = ::testing::Types<FileLine, PortLine>;
class LineNames {
 public:
  template <class Line>
  static std::string GetName(int) {
    return std::is_same_v<Line, FileLine> ? "FrameFile" : "SystemPort";
  }
};
TYPED_TEST_SUITE(SerialDeviceContract, Lines, LineNames);

struct FrameRow {
  const char* name;
  std::size_t size;
  std::vector<std::size_t> pieces;
};

// Frames follow each other on one device, each whole and in order.
TYPED_TEST(SerialDeviceContract, FramesArriveByteForByteInOrder) {
  const FrameRow rows[] = {
      {"OneByte", 1, {}},
      {"OneWrite", 545, {}},
      {"SmallPieces", 3000, {1, 2, 100, 7, 1000}},
      {"PastTheQueueInOneWrite", 9000, {}},
      {"PastTheQueueByteByByte", 5000, std::vector<std::size_t>(5000, 1)},
  };
  std::vector<std::int64_t> reported;
  this->device().setWaitHook([&](std::int64_t sent) { reported.push_back(sent); });
  Bytes expected;
  std::uint8_t seed = 3;
  for (const FrameRow& row : rows) {
    const Bytes frame = pattern(row.size, seed++);
    reported.clear();
    const auto sent = this->sendFrame(frame, row.pieces);
    ASSERT_TRUE(sent) << row.name << ": " << sent.error().text;
    expected.insert(expected.end(), frame.begin(), frame.end());
    ASSERT_EQ(this->farEnd(expected.size()), expected) << row.name;
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end())) << row.name;
    for (const std::int64_t n : reported) EXPECT_LE(n, static_cast<std::int64_t>(row.size)) << row.name;
  }
}

TYPED_TEST(SerialDeviceContract, WritingBeforeOpeningFailsAndSendsNothing) {
  EXPECT_FALSE(this->device().write(pattern(3, 0)));
  EXPECT_TRUE(this->device().close());  // nothing open, nothing to wait for
  EXPECT_EQ(this->farEnd(0), Bytes());
}

// An abandoned frame's queued bytes never go out; the device is good for the next frame.
TYPED_TEST(SerialDeviceContract, AnAbandonedFrameIsDroppedAndTheNextArrives) {
  ASSERT_TRUE(this->device().open());
  ASSERT_TRUE(this->device().configure(k115200N));
  ASSERT_TRUE(this->device().write(pattern(100, 1)));
  this->device().abandon();
  this->device().abandon();  // abandoning a closed device does nothing
  EXPECT_TRUE(this->device().close());
  const Bytes next = pattern(200, 2);
  const auto sent = this->sendFrame(next, {});
  ASSERT_TRUE(sent) << sent.error().text;
  EXPECT_EQ(this->farEnd(next.size()), next);
}

TYPED_TEST(SerialDeviceContract, ClosingTwiceSendsTheFrameOnce) {
  const Bytes frame = pattern(300, 4);
  ASSERT_TRUE(this->sendFrame(frame, {}));
  EXPECT_TRUE(this->device().close());
  EXPECT_EQ(this->farEnd(frame.size()), frame);
}

}  // namespace
}  // namespace lumadot
