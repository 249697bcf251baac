// The Win32 serial port under wine, through two COM ports joined into one
// line (a socat pair of pseudo-terminals) and one that leads nowhere.
// scripts/wine_serial_check.sh maps them and names them here:
// LUMADOT_CHECK_LINE=COM1,COM2 and LUMADOT_CHECK_MISSING=COM9. Without those
// every test is skipped, so no COM port wine leads to a real device is opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "serial/port_mapping.h"
#include "serial/win32_port.h"
#include "serial/system_serial_device.h"
#include "serial/system_serial_receiver.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The two ends of the line, "COM1" and "COM2", or nothing when not run by the script.
std::vector<std::string> lineEnds() {
  const std::string line = environment("LUMADOT_CHECK_LINE");
  const std::size_t comma = line.find(',');
  if (comma == std::string::npos) return {};
  return {line.substr(0, comma), line.substr(comma + 1)};
}

int comNumber(const std::string& name) { return std::stoi(name.substr(3)); }

bool underWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

#define NEED_MAPPED_PORTS()                                                                     \
  if (lineEnds().empty() || environment("LUMADOT_CHECK_MISSING").empty()) {                     \
    GTEST_SKIP() << "run by scripts/wine_serial_check.sh, which maps the COM ports it names"; \
  }

// Every byte value, so a line that translated or swallowed any would show.
Bytes pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

Bytes readUntil(SystemSerialReceiver& receiver, std::size_t size, std::string& failure) {
  Bytes got;
  const auto until = Clock::now() + 15s;
  while (got.size() < size && Clock::now() < until) {
    auto bytes = receiver.read(200ms);
    if (!bytes) {
      failure = bytes.error().text;
      break;
    }
    got.insert(got.end(), bytes->begin(), bytes->end());
  }
  return got;
}

enum class Naming { comN, name, devicePath };

PortChoice choose(const std::string& com, Naming naming) {
  switch (naming) {
    case Naming::comN: return {comNumber(com), {}};
    case Naming::name: return {0, com};
    case Naming::devicePath: return {0, "\\\\.\\" + com};
  }
  return {};
}

struct LineCase {
  const char* name;
  int from;  // which end of the line sends
  Naming naming;
  std::size_t size;
  std::vector<std::size_t> writes;  // the frame cut into writes of these sizes, the last taking the rest
  LineSettings settings;
};

class Line : public ::testing::TestWithParam<LineCase> {};

TEST_P(Line, BytesWrittenAtOneEndAreReadAtTheOther) {
  NEED_MAPPED_PORTS();
  const LineCase& c = GetParam();
  const auto ends = lineEnds();
  SystemSerialReceiver receiver;
  ASSERT_TRUE(receiver.openPort(choose(ends[1 - c.from], c.naming), c.settings));
  SystemSerialDevice device;
  device.setPort(choose(ends[c.from], c.naming));
  std::vector<std::int64_t> reported;
  device.setWaitHook([&](std::int64_t sent) { reported.push_back(sent); });
  const Bytes sent = pattern(c.size);
  std::string readFailure;
  Bytes got;
  std::thread reader([&] { got = readUntil(receiver, c.size, readFailure); });
  auto result = device.open();
  if (result) result = device.configure(c.settings);
  std::size_t at = 0;
  for (std::size_t i = 0; result && at < sent.size(); ++i) {
    const std::size_t n = i < c.writes.size() ? std::min(c.writes[i], sent.size() - at) : sent.size() - at;
    result = device.write(std::span(sent).subspan(at, n));
    at += n;
  }
  if (result) result = device.close();
  reader.join();
  ASSERT_TRUE(result) << result.error().text;
  EXPECT_EQ(readFailure, "");
  EXPECT_EQ(got, sent);
  EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
  for (const std::int64_t n : reported) EXPECT_LE(n, static_cast<std::int64_t>(c.size));
}

const LineSettings k38400N{38400, Parity::none, 8, StopBits::one};
const LineSettings k9600E{9600, Parity::even, 8, StopBits::one};
const LineSettings k115200O2{115200, Parity::odd, 7, StopBits::two};

INSTANTIATE_TEST_SUITE_P(
    Win32, Line,
    ::testing::Values(LineCase{"OneByteByComN", 0, Naming::comN, 1, {}, k38400N},
                      LineCase{"FrameInSmallWritesByName", 0, Naming::name, 3000, {1, 2, 100, 7, 1000}, k9600E},
                      LineCase{"BackTheOtherWayByDevicePath", 1, Naming::devicePath, 700, {}, k115200O2},
                      LineCase{"PastTheQueueInOneWrite", 0, Naming::comN, 20000, {}, k38400N},
                      LineCase{"PastTheQueueByteByByte", 1, Naming::name, 9000, std::vector<std::size_t>(9000, 1),
                               k38400N}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Win32Receiver, WaitsForTheFirstByteWithinTheWaitAsked) {
  NEED_MAPPED_PORTS();
  SystemSerialReceiver receiver;
  ASSERT_TRUE(receiver.openPort(choose(lineEnds()[0], Naming::name), k38400N));
  EXPECT_EQ(receiver.name(), lineEnds()[0]);
  for (const auto wait : {0ms, 300ms}) {
    const auto start = Clock::now();
    const auto bytes = receiver.read(wait);
    const auto took = Clock::now() - start;
    ASSERT_TRUE(bytes) << bytes.error().text;
    EXPECT_TRUE(bytes->empty());
    EXPECT_GE(took, wait - 50ms);
    EXPECT_LT(took, wait + 1s);
  }
  receiver.close();
  EXPECT_FALSE(receiver.isOpen());
  EXPECT_EQ(receiver.read(0ms).error().text, lineEnds()[0] + ": the port is not open");
}

// A listener that waits long still hears a byte as soon as it comes.
TEST(Win32Receiver, ReturnsWithTheFirstBytesBeforeTheWaitIsOver) {
  NEED_MAPPED_PORTS();
  const auto ends = lineEnds();
  SystemSerialReceiver receiver;
  ASSERT_TRUE(receiver.openPort(choose(ends[1], Naming::name), k38400N));
  SystemSerialDevice device;
  device.setPort(choose(ends[0], Naming::name));
  ASSERT_TRUE(device.open());
  ASSERT_TRUE(device.configure(k38400N));
  std::thread writer([&] {
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(device.write(pattern(5)));
    EXPECT_TRUE(device.close());
  });
  const auto start = Clock::now();
  const auto bytes = receiver.read(5s);
  const auto took = Clock::now() - start;
  writer.join();
  ASSERT_TRUE(bytes) << bytes.error().text;
  EXPECT_EQ(*bytes, pattern(5));
  EXPECT_GE(took, 250ms);
  EXPECT_LT(took, 2s);
}

TEST(Win32Device, PortHeldByAnotherOpenIsRefused) {
  NEED_MAPPED_PORTS();
  if (underWine()) GTEST_SKIP() << "wine opens a COM port as often as asked, whatever the share mode";
  const std::string com = lineEnds()[0];
  SystemSerialReceiver holder;
  ASSERT_TRUE(holder.openPort(choose(com, Naming::name), k38400N));
  SystemSerialDevice device;
  device.setPort(choose(com, Naming::comN));
  const auto opened = device.open();
  ASSERT_FALSE(opened);
  EXPECT_EQ(opened.error().text, "com" + std::to_string(comNumber(com)) + " (" + com +
                                     "): the port is in use by another program");
}

// The system's reason follows the port's name. Windows refuses to open a
// port that is not there; wine opens it and refuses the first setting.
TEST(Win32Device, MissingDeviceIsNamedWithTheSystemsReason) {
  NEED_MAPPED_PORTS();
  const std::string com = environment("LUMADOT_CHECK_MISSING");
  const std::string label = "com" + std::to_string(comNumber(com)) + " (" + com + "): ";
  SystemSerialDevice device;
  device.setPort(choose(com, Naming::comN));
  const auto opened = device.open();
  ASSERT_FALSE(opened);
  EXPECT_TRUE(opened.error().text.starts_with(label)) << opened.error().text;
  const std::string reason = opened.error().text.substr(label.size());
  EXPECT_EQ(reason, systemReason(underWine() ? ERROR_INVALID_FUNCTION : ERROR_FILE_NOT_FOUND));
  EXPECT_NE(reason.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << reason;
  EXPECT_FALSE(device.write(pattern(3)));
  EXPECT_TRUE(device.close());  // nothing open, nothing to wait for

  SystemSerialReceiver receiver;
  const auto listened = receiver.openPort(choose(com, Naming::name), k38400N);
  ASSERT_FALSE(listened);
  EXPECT_EQ(listened.error().text, com + ": " + reason);
  EXPECT_FALSE(receiver.isOpen());
}

// The registry names every port wine has a link for, COM9 too; only those that open are there.
TEST(Win32Ports, TheSystemListsThePortsThatOpenInCountingOrder) {
  NEED_MAPPED_PORTS();
  std::vector<std::string> listed;
  for (const ListedPort& port : listedPorts()) listed.push_back(port.device);
  EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end(), naturalLess));
  const std::string missing = environment("LUMADOT_CHECK_MISSING");
  for (const std::string& com : {lineEnds()[0], lineEnds()[1], missing}) {
    const bool there = com != missing;
    EXPECT_EQ(std::find(listed.begin(), listed.end(), com) != listed.end(), there) << com;
    const PortMapping mapping = mapPort(comNumber(com));
    EXPECT_EQ(mapping.source, PortMapping::Source::windowsName);
    EXPECT_EQ(mapping.device, com);
    EXPECT_EQ(mapping.present, there) << com;
  }
}

struct EnvironmentCase {
  const char* name;
  std::string value;  // "@" stands for the first end of the line, "%" for the port that leads nowhere
  bool present;
};

class EnvironmentPort : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(EnvironmentPort, IsThereWhenTheRegistryListsIt) {
  NEED_MAPPED_PORTS();
  std::string value = GetParam().value;
  if (const std::size_t at = value.find('@'); at != std::string::npos) value.replace(at, 1, lineEnds()[0]);
  if (const std::size_t at = value.find('%'); at != std::string::npos) {
    value.replace(at, 1, environment("LUMADOT_CHECK_MISSING"));
  }
  ASSERT_EQ(::_putenv_s("LUMADOT_COM16", value.c_str()), 0);
  const PortMapping mapping = mapPort(16);
  ASSERT_EQ(::_putenv_s("LUMADOT_COM16", ""), 0);
  EXPECT_EQ(mapping.source, PortMapping::Source::environment);
  EXPECT_EQ(mapping.device, value);
  EXPECT_EQ(mapping.present, GetParam().present);
}

INSTANTIATE_TEST_SUITE_P(Win32, EnvironmentPort,
                         ::testing::Values(EnvironmentCase{"Name", "@", true},
                                           EnvironmentCase{"DevicePath", "\\\\.\\@", true},
                                           EnvironmentCase{"UnlistedName", "COM77", false},
                                           EnvironmentCase{"NameLeadingNowhere", "%", false},
                                           EnvironmentCase{"DevicePathLeadingNowhere", "\\\\.\\%", false},
                                           EnvironmentCase{"AFileThatIsThere", "C:\\windows\\win.ini", true}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot
