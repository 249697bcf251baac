// The run's send side end to end, into a device that keeps what it is sent,
// and into frame files: what a user sees and what reaches the device, without a port.
#include "run/extraction_run.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

#include "extract/text_codec.h"
#include "frame/display_frame.h"
#include "serial/frame_file.h"
#include "support/memory_device.h"
#include "support/named_rows.h"
#include "support/process.h"
#include "support/recording_hooks.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::PrintTo;

class CountingProgress final : public SendProgress {
 public:
  void frameStarted(std::int64_t frameBytes) override { started.push_back(frameBytes); }
  void bytesSent(std::int64_t) override {}
  void frameEnded() override { ++ended; }
  std::vector<std::int64_t> started;
  int ended = 0;
};

Message portWarning(std::string_view port, std::string_view reason) {
  return {"警告", "串口" + std::string(port) + "打开失败，可能正在使用中", MessageIcon::warning, std::string(reason)};
}

Message unknownPort(std::string_view port) {
  return portWarning(port, "\"" + std::string(port) +
                               "\" is not a port name: ports are named com1 to com16, in lower case, or a device by its "
                               "path (/dev/ttyUSB0). comN leads to "
                               "the device that LUMADOT_COMn names (LUMADOT_COM1=/dev/ttyUSB0 makes com1 that "
                               "device); 'lumadot-cli ports' shows where each comN leads");
}

class SendingTest : public ::testing::Test {
 protected:
  RunReport send(std::u16string_view text, const SendBoxes& boxes, bool sendOn = true,
                 std::u16string separator = u".") {
    return sendTo(port, text, boxes, sendOn, std::move(separator));
  }
  RunReport sendTo(SerialDevice& device, std::u16string_view text, const SendBoxes& boxes, bool sendOn = true,
                   std::u16string separator = u".") {
    SendTarget target{sendRequest(boxes), device, &progress, std::move(separator)};
    RunReport report = runExtraction(text, {}, fonts, sendOn ? &target : nullptr);
    const test::ShownRun run = test::shown(report);
    hooks.listing = run.listing;
    hooks.messages.insert(hooks.messages.end(), run.messages.begin(), run.messages.end());
    hooks.failures.insert(hooks.failures.end(), run.failures.begin(), run.failures.end());
    return report;
  }
  bool frameWritten() const { return !port.sent.empty(); }
  std::string frame() const { return {port.sent.begin(), port.sent.end()}; }

  test::TempDir dir;
  FontPaths fonts = test::writeSyntheticFonts(dir.path());
  std::filesystem::path framePath = dir.path() / "frame.bin";
  FrameFile file{framePath};
  test::MemoryDevice port;
  test::ShownRun hooks;
  CountingProgress progress;
};

TEST_F(SendingTest, CompletedSendReportsTheKilobytesAfterClosing) {
  const RunReport result = send(u"中A", {});
  EXPECT_TRUE(result.completed());
  ASSERT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(hooks.messages[0], (Message{"系统提示", "使用串口com1共发送0.04K数据发送成功", MessageIcon::none}));
  const std::string bytes = frame();
  ASSERT_EQ(bytes.size(), 593u);
  EXPECT_EQ(bytes.substr(0, 3), std::string("\x0A\x05\x00", 3));
  EXPECT_EQ(bytes.substr(256, 48), std::string(result.glyphs.bytes.begin(), result.glyphs.bytes.end()));
  EXPECT_EQ(progress.started, std::vector<std::int64_t>{593});
  EXPECT_EQ(progress.ended, 1);
}

TEST_F(SendingTest, AmountUsesTheLocalesDecimalSeparator) {
  send(u"中A", {}, true, u",");
  ASSERT_EQ(hooks.messages.size(), 1u);
  EXPECT_EQ(hooks.messages[0].text, "使用串口com1共发送0,04K数据发送成功");
}

TEST_F(SendingTest, SpeedAndModeBytesComeFromTheirBoxes) {
  SendBoxes boxes;
  boxes.port = u"com16";
  boxes.speed = u"10";
  boxes.mode = u"闪烁";
  ASSERT_TRUE(send(u"A", boxes).completed());
  EXPECT_EQ(frame().substr(0, 3), std::string("\x09\x0A\x05", 3));
  EXPECT_EQ(hooks.messages.at(0).text, "使用串口com16共发送0.01K数据发送成功");
}

// A device typed by its path reaches the device as it stands, and the message names it so.
TEST_F(SendingTest, PortTypedAsADevicePath) {
  SendBoxes boxes;
  boxes.port = u"/dev/ttyUSB9";
  ASSERT_TRUE(send(u"A", boxes).completed());
  EXPECT_EQ(port.port(), (PortChoice{0, "/dev/ttyUSB9"}));
  EXPECT_EQ(hooks.messages.at(0).text, "使用串口/dev/ttyUSB9共发送0.01K数据发送成功");
  boxes.port = u"com16";
  ASSERT_TRUE(send(u"A", boxes).completed());
  EXPECT_EQ(port.port(), (PortChoice{16, {}}));
}

struct RefusedCase {
  const char* name;
  void (*change)(SendBoxes&);
  Message warning;
};

class RefusedBoxes : public SendingTest, public ::testing::WithParamInterface<RefusedCase> {};

// Nothing is opened or written, the user's listing stays empty, and the
// message names what to fix; with sending off the same texts are ignored.
TEST_P(RefusedBoxes, StopTheSendBeforeThePort) {
  SendBoxes boxes;
  GetParam().change(boxes);
  const RunReport result = send(u"中A", boxes);
  EXPECT_FALSE(result.completed());
  EXPECT_EQ(hooks.messages, std::vector<Message>{GetParam().warning});
  EXPECT_EQ(hooks.listing, u"");
  EXPECT_FALSE(frameWritten());
  EXPECT_TRUE(progress.started.empty());

  hooks.messages.clear();
  EXPECT_TRUE(send(u"中A", boxes, false).completed());
  EXPECT_TRUE(hooks.messages.empty());
  EXPECT_FALSE(frameWritten());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RefusedBoxes,
    ::testing::Values(
        RefusedCase{"PortUpperCase", [](SendBoxes& b) { b.port = u"COM1"; }, unknownPort("COM1")},
        RefusedCase{"PortLeadingSpace", [](SendBoxes& b) { b.port = u" com1"; }, unknownPort(" com1")},
        RefusedCase{"PortLeadingZero", [](SendBoxes& b) { b.port = u"com01"; }, unknownPort("com01")},
        RefusedCase{"PortBeyondTable", [](SendBoxes& b) { b.port = u"com17"; }, unknownPort("com17")},
        RefusedCase{"PortRelativePath", [](SendBoxes& b) { b.port = u"ttyUSB0"; }, unknownPort("ttyUSB0")},
        RefusedCase{"SpeedZero", [](SendBoxes& b) { b.speed = u"0"; },
                    Message{"警告", "显示速度“0”无效", MessageIcon::warning}},
        RefusedCase{"SpeedEleven", [](SendBoxes& b) { b.speed = u"11"; },
                    Message{"警告", "显示速度“11”无效", MessageIcon::warning}},
        RefusedCase{"SpeedLeadingSpace", [](SendBoxes& b) { b.speed = u" 5"; },
                    Message{"警告", "显示速度“ 5”无效", MessageIcon::warning}},
        RefusedCase{"ModeUnknown", [](SendBoxes& b) { b.mode = u"滚动"; },
                    Message{"警告", "显示方式“滚动”无效", MessageIcon::warning}},
        RefusedCase{"BothUnknownNamesSpeedFirst", [](SendBoxes& b) { b.speed = u""; b.mode = u""; },
                    Message{"警告", "显示速度“”无效", MessageIcon::warning}},
        RefusedCase{"PortBeforeSpeed", [](SendBoxes& b) { b.port = u"x"; b.speed = u"0"; }, unknownPort("x")},
        RefusedCase{"FourDataBits", [](SendBoxes& b) { b.dataBits = u"4"; },
                    portWarning("com1", R"(data bits "4" is not 5, 6, 7 or 8)")},
        RefusedCase{"BaudNotANumber", [](SendBoxes& b) { b.baud = u"fast"; },
                    portWarning("com1", R"(baud rate "fast" is not a whole number from 1 to 2147483647)")},
        RefusedCase{"CommaInsideABox", [](SendBoxes& b) { b.baud = u"9600,N"; },
                    portWarning("com1", R"(the line settings "9600,N,E,8,1" have 5 fields, not the 4 of )"
                                        R"(baud,parity,data bits,stop bits: no box may hold a comma)")}),
    [](const auto& row) { return std::string(row.param.name); });

// The boxes a request shows read back as that request, as the workbench fills its sign box from options.
TEST(SendBoxesOfARequest, ReadBackAsTheRequest) {
  const SendBoxes kinds[] = {
      {},
      {u"/dev/pts/7", u"19200", u"N", u"7", u"1.5", u"10", u"闪烁"},
      {u"com16", u"110", u"S", u"5", u"2", u"1", u"下移"},
      {u"com2", u"2147483647", u"M", u"6", u"1", u"9", u"右移"},
  };
  for (const SendBoxes& boxes : kinds) {
    const auto request = sendRequest(boxes);
    ASSERT_TRUE(request) << request.error().text;
    EXPECT_EQ(sendBoxes(*request), boxes);
  }
}

TEST_F(SendingTest, TooWideATextWarnsAndWritesNothing) {
  std::u16string wide(247, u'中');
  EXPECT_FALSE(send(wide, {}).completed());
  EXPECT_EQ(hooks.messages, std::vector<Message>{portWarning(
                                "com1", "the text is 494 columns wide, and a frame holds at most 493 (246 Chinese "
                                        "characters and one single-byte one)")});
  EXPECT_EQ(hooks.listing, u"");
  EXPECT_FALSE(frameWritten());

  hooks.messages.clear();
  wide.back() = u'A';  // 493 columns: the widest frame there is
  ASSERT_TRUE(send(wide, {}).completed());
  const std::string bytes = frame();
  EXPECT_EQ(bytes.size(), std::size_t{kFrameOverhead} + 246 * 32 + 16);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 255);
}

TEST_F(SendingTest, FrameFileKeepsEveryFrameOfOneDevice) {
  ASSERT_TRUE(sendTo(file, u"A", {}).completed());
  ASSERT_TRUE(sendTo(file, u"中", {}).completed());
  const std::string bytes = test::readFile(framePath);
  ASSERT_EQ(bytes.size(), 561u + 577u);
  EXPECT_EQ(bytes[0], 9);
  EXPECT_EQ(bytes[561], 10);

  FrameFile fresh{framePath};  // a new device starts the file over
  ASSERT_TRUE(sendTo(fresh, u"", {}).completed());
  EXPECT_EQ(test::readFile(framePath), std::string("\x08\x05", 2) + std::string(543, '\0'));
}

// A file stands in for the port: the warning names what failed, the text, and leaves the file as it was.
TEST_F(SendingTest, TooWideForAFrameFileBlamesTheText) {
  ASSERT_TRUE(sendTo(file, u"A", {}).completed());
  EXPECT_FALSE(sendTo(file, std::u16string(247, u'中'), {}).completed());
  EXPECT_EQ(hooks.failures.at(0),
            Failure("the text is too wide for a frame; " + framePath.string() + " is left as it was",
                    "the text is 494 columns wide, and a frame holds at most 493 (246 Chinese characters and one "
                    "single-byte one)"));
  EXPECT_EQ(test::readFile(framePath).size(), 561u);
}

// No port is involved, so the failure names the file, not com1.
TEST_F(SendingTest, UnwritableFrameFileIsAFailedSend) {
  const auto path = dir.path() / "missing" / "frame.bin";
  FrameFile nowhere{path};
  EXPECT_FALSE(sendTo(nowhere, u"A", {}).completed());
  EXPECT_EQ(hooks.failures.at(0), Failure("cannot write " + path.string(), "No such file or directory")
                                      .as(FailureKind::fileWrite, path.string())
                                      .because({CauseKind::system, "No such file or directory", {ENOENT}}));
  // The listing was written before the close failed, and stays without its credit block.
  EXPECT_NE(hooks.listing.find(u"DB  "), std::u16string::npos);
  EXPECT_EQ(hooks.listing.find(u"\r\n\r\n;"), std::u16string::npos);
}

}  // namespace
}  // namespace lumadot
