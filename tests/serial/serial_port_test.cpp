// Real frames through real pseudo-terminals, read at the far end.
#include <QCoreApplication>
#include <QSerialPortInfo>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <termios.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <set>
#include <unistd.h>

#include "extract/text_codec.h"
#include "frame/display_frame.h"
#include "serial/port_mapping.h"
#include "run/extraction_run.h"
#include "serial/system_serial_device.h"
#include "serial/termios_settings.h"
#include "support/named_rows.h"
#include "support/process.h"
#include "support/pseudo_terminal.h"
#include "support/recording_hooks.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::PrintTo;

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const Message kPortWarning{"警告", "串口com1打开失败，可能正在使用中", MessageIcon::warning};

std::size_t countEntries(std::u16string_view listing) {
  std::size_t entries = 0;
  for (std::size_t at = 0; (at = listing.find(u"字模结构", at)) != std::u16string_view::npos; ++at) ++entries;
  return entries;
}

Bytes frame(std::uint8_t width, std::uint8_t speed, std::uint8_t mode, std::span<const std::uint8_t> glyphs) {
  return encodeFrame({width, speed, mode}, glyphs);
}

class SerialPortTest : public ::testing::Test {
 protected:
  // Points com1 at the terminal, as a user would with LUMADOT_COM1.
  void attach(const test::PseudoTerminal& terminal) { ::setenv("LUMADOT_COM1", terminal.path().c_str(), 1); }
  void TearDown() override { ::unsetenv("LUMADOT_COM1"); }

  RunReport send(std::u16string_view text, const SendBoxes& boxes = {}, SendProgress* progress = nullptr) {
    SendTarget target{sendRequest(boxes), device, progress};
    RunReport report = runExtraction(text, {}, fonts, &target);
    hooks = test::shown(report);
    m_glyphs = report.glyphs.bytes;
    return report;
  }
  std::span<const std::uint8_t> glyphs() const { return m_glyphs; }

  test::TempDir dir;
  FontPaths fonts = test::writeSyntheticFonts(dir.path());
  // The device's own reason beneath the last warning, or "" when none was shown.
  std::string failureDetail() const { return hooks.failures.empty() ? std::string() : hooks.failures.back().detail; }
  // The one message of a failed send: the port warning, with a reason beneath.
  void expectPortWarning() const {
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_EQ(hooks.messages[0].text, kPortWarning.text);
    EXPECT_EQ(hooks.messages[0].icon, MessageIcon::warning);
    EXPECT_FALSE(hooks.messages[0].detail.empty());
  }

  SystemSerialDevice device;
  test::ShownRun hooks;
  std::vector<std::uint8_t> m_glyphs;
};

struct FrameCase {
  const char* name;
  std::u16string text;
  std::uint8_t width;
  std::size_t size;
  std::u16string amount;
  SendBoxes boxes = {};
  std::uint8_t speed = 5;
  std::uint8_t mode = 0;
};

class Frames : public SerialPortTest, public ::testing::WithParamInterface<FrameCase> {};

TEST_P(Frames, ArriveByteForByte) {
  test::PseudoTerminal terminal;
  attach(terminal);
  const FrameCase& c = GetParam();
  ASSERT_TRUE(send(c.text, c.boxes).completed()) << failureDetail();
  const Bytes expected = frame(c.width, c.speed, c.mode, glyphs());
  EXPECT_EQ(expected.size(), c.size);
  EXPECT_EQ(terminal.receivedAll(), expected);
  ASSERT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(utf8ToUtf16(hooks.messages[0].text), u"使用串口" + c.boxes.port + u"共发送" + c.amount + u"K数据发送成功");
}

SendBoxes clockBoxes() {
  SendBoxes boxes;
  boxes.speed = u"1";
  boxes.mode = u"左移";
  return boxes;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Frames,
    ::testing::Values(FrameCase{"Empty", u"", 8, 545, u"0"}, FrameCase{"OneLetter", u"A", 9, 561, u"0.01"},
                      FrameCase{"OneChinese", u"中", 10, 577, u"0.03"}, FrameCase{"TwoLetters", u"AB", 10, 577, u"0.03"},
                      FrameCase{"ThreeLetters", u"ABC", 10, 593, u"0.04"},
                      FrameCase{"FourLetters", u"ABCD", 10, 609, u"0.06"},
                      FrameCase{"FiveLetters", u"ABCDE", 11, 625, u"0.07"},
                      FrameCase{"LineBreakAddsNothing", u"A\r\nB", 10, 577, u"0.03"},
                      FrameCase{"Widest", std::u16string(246, u'中') + u"A", 255, 545 + 7888, u"7.70"},
                      FrameCase{"ClockSpeedOne", u"12:00", 11, 625, u"0.07", clockBoxes(), 1, 1}),
    [](const auto& row) { return std::string(row.param.name); });

struct SettingsCase {
  const char* name;
  SendBoxes boxes;
  speed_t speed;
  bool twoStopBits;
  bool odd;         // PARODD
  bool stickParity;  // CMSPAR
};

SendBoxes lineBoxes(std::u16string baud, std::u16string parity, std::u16string dataBits, std::u16string stopBits) {
  SendBoxes boxes;
  boxes.baud = std::move(baud);
  boxes.parity = std::move(parity);
  boxes.dataBits = std::move(dataBits);
  boxes.stopBits = std::move(stopBits);
  return boxes;
}

class LineSettingsOnTheTerminal : public SerialPortTest, public ::testing::WithParamInterface<SettingsCase> {};

// A pseudo-terminal keeps speed, stop bits and the parity kind; the kernel
// forces 8 data bits and clears the parity enable, so those two are checked
// on the flags we hand it (FrameFormat below).
TEST_P(LineSettingsOnTheTerminal, AreThoseOfTheBoxes) {
  // Read while the port is open: closing gives the terminal its old settings
  // back. A briefly stopped line makes the close wait, and report progress.
  class Sampler final : public SendProgress {
   public:
    explicit Sampler(const test::PseudoTerminal& terminal) : m_terminal(terminal) {}
    void frameStarted(std::int64_t) override {}
    void bytesSent(std::int64_t) override {
      if (!seen) seen = m_terminal.settings();
    }
    void frameEnded() override {}
    std::optional<termios> seen;

   private:
    const test::PseudoTerminal& m_terminal;
  };
  test::PseudoTerminal terminal({.outputStoppedFor = 100ms});
  attach(terminal);
  Sampler sampler(terminal);
  ASSERT_TRUE(send(u"A", GetParam().boxes, &sampler).completed()) << failureDetail();
  EXPECT_EQ(terminal.receivedAll().size(), 561u);
  ASSERT_TRUE(sampler.seen);
  const termios seen = *sampler.seen;
  EXPECT_EQ(cfgetospeed(&seen), GetParam().speed);
  EXPECT_EQ((seen.c_cflag & CSTOPB) != 0, GetParam().twoStopBits);
  EXPECT_EQ((seen.c_cflag & PARODD) != 0, GetParam().odd);
  EXPECT_EQ((seen.c_cflag & CMSPAR) != 0, GetParam().stickParity);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, LineSettingsOnTheTerminal,
    ::testing::Values(SettingsCase{"StartTexts", {}, B9600, false, false, false},
                      SettingsCase{"OddTwoStop", lineBoxes(u"115200", u"O", u"8", u"2"), B115200, true, true, false},
                      SettingsCase{"Mark", lineBoxes(u"300", u"M", u"7", u"1"), B300, false, true, true},
                      SettingsCase{"Space", lineBoxes(u"19200", u"S", u"5", u"2"), B19200, true, false, true},
                      SettingsCase{"None", lineBoxes(u"110", u"N", u"6", u"1"), B110, false, false, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FrameFormat, SetsCharacterSizeParityAndStopBits) {
  struct Row {
    LineSettings settings;
    tcflag_t flags;
  };
  const Row rows[] = {
      {{9600, Parity::even, 8, StopBits::one}, CS8 | PARENB},
      {{9600, Parity::odd, 7, StopBits::two}, CS7 | PARENB | PARODD | CSTOPB},
      {{9600, Parity::none, 6, StopBits::one}, CS6},
      {{9600, Parity::mark, 5, StopBits::one}, CS5 | PARENB | PARODD | CMSPAR},
      {{9600, Parity::space, 8, StopBits::two}, CS8 | PARENB | CMSPAR | CSTOPB},
  };
  for (const Row& row : rows) {
    termios terminal{};
    terminal.c_cflag = CS7 | PARENB | PARODD | CMSPAR | CSTOPB | CREAD | CLOCAL;  // all to be replaced
    ASSERT_TRUE(applyFrameFormat(terminal, row.settings));
    EXPECT_EQ(terminal.c_cflag, row.flags | CREAD | CLOCAL) << row.settings.dataBits;
  }
  termios terminal{};
  EXPECT_FALSE(applyFrameFormat(terminal, {9600, Parity::none, 8, StopBits::oneAndHalf}));
}

TEST_F(SerialPortTest, SettingsThisSystemCannotApplyGiveThePortWarning) {
  test::PseudoTerminal terminal;
  attach(terminal);
  for (const SendBoxes& boxes : {lineBoxes(u"9600", u"E", u"8", u"1.5"), lineBoxes(u"9600", u"E", u"4", u"1"),
                                 lineBoxes(u"fast", u"E", u"8", u"1")}) {
    hooks.messages.clear();
    EXPECT_FALSE(send(u"中A", boxes).completed());
    expectPortWarning();
    EXPECT_EQ(hooks.listing, u"");
  }
  EXPECT_TRUE(terminal.receivedAll().empty());
  // The port was closed each time: a good text right after goes through.
  EXPECT_TRUE(send(u"A").completed()) << failureDetail();
}

TEST_F(SerialPortTest, PortHeldElsewhereGivesTheWarningAndWritesNothing) {
  test::PseudoTerminal terminal;
  attach(terminal);
  {
    SystemSerialDevice holder;  // another program with Qt's lock file
    ASSERT_TRUE(holder.open());
    EXPECT_FALSE(send(u"中A").completed());
    expectPortWarning();
    EXPECT_EQ(failureDetail(), "com1 (" + terminal.path() + "): the port is in use by another program");
    EXPECT_EQ(hooks.listing, u"");
  }
  {
    // A program that locks with flock only, as picocom does; root ignores TIOCEXCL.
    const int fd = ::open(terminal.path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    hooks.messages.clear();
    EXPECT_FALSE(send(u"中A").completed());
    expectPortWarning();
    EXPECT_EQ(failureDetail(), "com1 (" + terminal.path() + "): the port is in use by another program");
    ::close(fd);
  }
  EXPECT_TRUE(terminal.receivedAll().empty());
  EXPECT_TRUE(send(u"A").completed()) << failureDetail();
}

TEST_F(SerialPortTest, MissingDeviceGivesTheWarning) {
  ::setenv("LUMADOT_COM1", (dir.path() / "no-such-port").c_str(), 1);
  EXPECT_FALSE(send(u"A").completed());
  expectPortWarning();
  EXPECT_NE(failureDetail().find("no-such-port"), std::string::npos) << failureDetail();
}

// The far end goes away while the frame is still being written: the run ends
// with the warning, soon, and the listing keeps what was written before.
TEST_F(SerialPortTest, FarEndHangingUpMidFrameEndsTheRun) {
  test::PseudoTerminal terminal({.outputStoppedFor = 1h, .hangUpAfter = 300ms});
  attach(terminal);
  const std::u16string text(246, u'中');  // the widest frame there is
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(send(text).completed());
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
  expectPortWarning();
  const std::size_t entries = countEntries(hooks.listing);
  EXPECT_GT(entries, 0u);
  EXPECT_LT(entries, 246u);
  EXPECT_EQ(hooks.listing.find(u"\r\n\r\n;"), std::u16string::npos);  // no credit block
  EXPECT_NE(failureDetail().find("Input/output error"), std::string::npos) << failureDetail();
}

// A line that takes nothing (a far end holding it stopped) is given up on
// after twice the frame's time on the line and some slack, not waited on for ever.
TEST_F(SerialPortTest, StalledLineFailsWithinItsBound) {
  test::PseudoTerminal terminal({.outputStoppedFor = 1h});
  attach(terminal);
  SendBoxes fast;
  fast.baud = u"115200";  // 8,449 bytes of 11 bits take 0.8 s: the bound is 2 s + 1.6 s
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(send(std::u16string(246, u'中'), fast).completed());
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GT(took, 2s);
  EXPECT_LT(took, 5s);
  expectPortWarning();
  EXPECT_TRUE(terminal.receivedAll().empty());
}

// While the port waits for the line, progress is told in order, and ends with the frame.
TEST_F(SerialPortTest, WaitingForTheLineIsReportedAsProgress) {
  class Progress final : public SendProgress {
   public:
    void frameStarted(std::int64_t bytes) override { total = bytes; }
    void bytesSent(std::int64_t sent) override { reports.push_back(sent); }
    void frameEnded() override { ended = true; }
    std::int64_t total = 0;
    std::vector<std::int64_t> reports;
    bool ended = false;
  } progress;
  test::PseudoTerminal terminal({.outputStoppedFor = 500ms});
  attach(terminal);
  ASSERT_TRUE(send(std::u16string(200, u'中'), {}, &progress).completed()) << failureDetail();
  EXPECT_EQ(progress.total, 545 + 6400);
  ASSERT_GE(progress.reports.size(), 4u);  // at least every 100 ms of the 500
  EXPECT_TRUE(std::is_sorted(progress.reports.begin(), progress.reports.end()));
  EXPECT_EQ(progress.reports.front(), 0);
  EXPECT_LE(progress.reports.back(), progress.total);
  EXPECT_TRUE(progress.ended);
  EXPECT_EQ(terminal.receivedAll(), frame(208, 5, 0, glyphs()));
}

// The serial component has no per-byte waits: as many single-byte writes as a
// full glyph buffer's frame would take go through in a fraction of a second.
TEST_F(SerialPortTest, FullBufferOfSingleByteWritesTakesAFractionOfASecond) {
  test::PseudoTerminal terminal;
  attach(terminal);
  constexpr std::size_t kBytes = std::size_t{kFrameOverhead} + 65536;
  const auto start = std::chrono::steady_clock::now();
  const auto opened = device.open();
  ASSERT_TRUE(opened) << opened.error().text;
  ASSERT_TRUE(device.configure({115200, Parity::none, 8, StopBits::one}));
  for (std::size_t i = 0; i < kBytes; ++i) {
    const auto value = static_cast<std::uint8_t>(i * 7);
    ASSERT_TRUE(device.write({&value, 1})) << i;
  }
  const auto closed = device.close();
  ASSERT_TRUE(closed) << closed.error().text;
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  const Bytes received = terminal.received(kBytes, 5s);
  ASSERT_EQ(received.size(), kBytes);
  for (std::size_t i = 0; i < kBytes; i += 997) EXPECT_EQ(received[i], static_cast<std::uint8_t>(i * 7)) << i;
  RecordProperty("frame_ms", static_cast<int>(took.count()));
  std::printf("%zu single-byte writes through a pseudo-terminal: %lld ms\n", kBytes,
              static_cast<long long>(took.count()));
  EXPECT_LT(took, 2s);
}

TEST(PortMapping, EnvironmentFirstThenTheSystemList) {
  test::TempDir dir;
  const auto device = dir.path() / "ttyFAKE";
  test::writeFile(device, "");
  ::setenv("LUMADOT_COM7", device.c_str(), 1);
  ::setenv("LUMADOT_COM8", (dir.path() / "gone").c_str(), 1);
  const PortMapping seven = mapPort(7);
  EXPECT_EQ(seven.source, PortMapping::Source::environment);
  EXPECT_EQ(seven.device, device.string());
  EXPECT_TRUE(seven.present);
  EXPECT_FALSE(mapPort(8).present);
  ::unsetenv("LUMADOT_COM7");
  ::unsetenv("LUMADOT_COM8");

  const auto all = portOverview().named;
  ASSERT_EQ(all.size(), 16u);
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(all[i].number, static_cast<int>(i) + 1);
    EXPECT_EQ(all[i].source == PortMapping::Source::none, all[i].device.empty());
  }
}

// With every comN named by the environment, each device the system lists is reached by its path alone.
TEST(PortMapping, DevicesNoComNameLeadsToAreListedByPath) {
  for (int n = 1; n <= 16; ++n) ::setenv(("LUMADOT_COM" + std::to_string(n)).c_str(), "/dev/null", 1);
  const PortOverview overview = portOverview();
  for (int n = 1; n <= 16; ++n) ::unsetenv(("LUMADOT_COM" + std::to_string(n)).c_str());
  std::vector<std::string> listed;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) listed.push_back(info.systemLocation().toStdString());
  std::sort(listed.begin(), listed.end(), naturalLess);
  EXPECT_EQ(overview.others, listed);
  EXPECT_EQ(overview.named.size(), 16u);
  // Without the environment the first sixteen are comN's, so only the rest are others.
  const PortOverview plain = portOverview();
  EXPECT_EQ(plain.others.size(), listed.size() > 16 ? listed.size() - 16 : 0u);
}

// Each system's rule over facts given here, so both rules are checked on any system.
class GivenFacts final : public PortFacts {
 public:
  GivenFacts(std::map<int, std::string> environment, std::set<std::string> there, std::vector<std::string> listed)
      : m_environment(std::move(environment)), m_there(std::move(there)), m_listed(std::move(listed)) {}
  std::string environment(int number) const override {
    const auto found = m_environment.find(number);
    return found == m_environment.end() ? std::string() : found->second;
  }
  bool isThere(const std::string& device) const override { return m_there.contains(device); }
  std::vector<std::string> listed() const override {
    ++listings;
    return m_listed;
  }
  mutable int listings = 0;

 private:
  std::map<int, std::string> m_environment;
  std::set<std::string> m_there;
  std::vector<std::string> m_listed;
};

struct MappingCase {
  const char* name;
  PortRule rule;
  std::map<int, std::string> environment;
  std::set<std::string> there;
  int number;
  PortMapping::Source source;
  std::string device;
  bool present;
  int listings;  // the system's list is read only where the rule needs it
};

const std::vector<std::string> kLinuxList{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0"};

class PortRules : public ::testing::TestWithParam<MappingCase> {};

TEST_P(PortRules, LeadComNToItsDevice) {
  const MappingCase& c = GetParam();
  GivenFacts facts(c.environment, c.there, c.rule == PortRule::listOrder ? kLinuxList : std::vector<std::string>{"COM1", "COM2"});
  const PortMapping mapping = PortMapper(c.rule, facts).map(c.number);
  EXPECT_EQ(mapping.number, c.number);
  EXPECT_EQ(mapping.source, c.source);
  EXPECT_EQ(mapping.device, c.device);
  EXPECT_EQ(mapping.present, c.present);
  EXPECT_EQ(facts.listings, c.listings);
}

using Source = PortMapping::Source;

INSTANTIATE_TEST_SUITE_P(
    Rules, PortRules,
    ::testing::Values(
        MappingCase{"ListEnvironmentFirst", PortRule::listOrder, {{3, "/dev/ttyACM0"}}, {"/dev/ttyACM0"}, 3,
                    Source::environment, "/dev/ttyACM0", true, 0},
        MappingCase{"ListEnvironmentLeadingNowhere", PortRule::listOrder, {{1, "/dev/gone"}}, {"/dev/ttyS0"}, 1,
                    Source::environment, "/dev/gone", false, 0},
        MappingCase{"ListNthInCountingOrder", PortRule::listOrder, {{1, "/dev/ttyACM0"}}, {}, 3, Source::systemList,
                    "/dev/ttyUSB0", true, 1},
        MappingCase{"ListPastItsEnd", PortRule::listOrder, {}, {}, 4, Source::none, "", false, 1},
        MappingCase{"WindowsComNItself", PortRule::windowsName, {}, {"COM2"}, 2, Source::windowsName, "COM2", true, 0},
        MappingCase{"WindowsComNNotThere", PortRule::windowsName, {}, {"COM2"}, 1, Source::windowsName, "COM1", false,
                    0},
        MappingCase{"WindowsPastTheListStillByName", PortRule::windowsName, {}, {"COM16"}, 16, Source::windowsName,
                    "COM16", true, 0},
        MappingCase{"WindowsEnvironmentFirst", PortRule::windowsName, {{16, "\\\\.\\COM3"}}, {"\\\\.\\COM3", "COM16"}, 16,
                    Source::environment, "\\\\.\\COM3", true, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PortRules, OverviewNamesTheListedDevicesNoComNLeadsTo) {
  GivenFacts linuxFacts({{1, "/dev/ttyUSB0"}}, {"/dev/ttyUSB0"}, kLinuxList);
  const PortOverview onLinux = PortMapper(PortRule::listOrder, linuxFacts).overview();
  ASSERT_EQ(onLinux.named.size(), 16u);
  EXPECT_EQ(onLinux.named[0].device, "/dev/ttyUSB0");
  EXPECT_EQ(onLinux.named[1].device, "/dev/ttyS1");
  EXPECT_EQ(onLinux.named[2].device, "/dev/ttyUSB0");
  EXPECT_EQ(onLinux.named[3].source, PortMapping::Source::none);
  EXPECT_EQ(onLinux.others, std::vector<std::string>{"/dev/ttyS0"});
  EXPECT_EQ(linuxFacts.listings, 1);

  GivenFacts windowsFacts({{2, "C:\\ports\\sign"}}, {"COM1", "COM3"}, {"COM1", "COM2", "COM3", "COM20"});
  const PortOverview onWindows = PortMapper(PortRule::windowsName, windowsFacts).overview();
  ASSERT_EQ(onWindows.named.size(), 16u);
  EXPECT_EQ(onWindows.named[0].device, "COM1");
  EXPECT_TRUE(onWindows.named[0].present);
  EXPECT_EQ(onWindows.named[1].device, "C:\\ports\\sign");
  EXPECT_FALSE(onWindows.named[1].present);
  EXPECT_EQ(onWindows.named[15].device, "COM16");
  EXPECT_FALSE(onWindows.named[15].present);
  EXPECT_EQ(onWindows.others, (std::vector<std::string>{"COM2", "COM20"}));
  EXPECT_EQ(windowsFacts.listings, 1);
}

TEST(PortMapping, DevicePathsInCountingOrder) {
  std::vector<std::string> paths{"/dev/ttyUSB0", "/dev/ttyS10", "/dev/ttyS2", "/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyS02"};
  std::sort(paths.begin(), paths.end(), naturalLess);
  EXPECT_EQ(paths, (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyS02", "/dev/ttyS2", "/dev/ttyS10",
                                             "/dev/ttyUSB0"}));
}

}  // namespace
}  // namespace lumadot

// Qt Serial Port's notifiers need an application object.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
