#include "run/extraction_run.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "extract/listing.h"
#include "frame/display_frame.h"
#include "support/bit_order.h"
#include "support/named_rows.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::offsetBytes;

constexpr std::uint64_t kZhongOffset = 32u * (53 * 94 + 47);  // 中, D6D0
constexpr std::uint64_t kAOffset = 16u * 'A';

// Stands in for the serial device, logging every call in one list so the
// order of the run's steps can be checked; the step named in failOn fails.
class StepDevice final : public SerialDevice {
 public:
  std::string failOn;  // "open", "configure", "write N" (the frame's byte N) or "close"
  std::vector<std::string> log;
  std::vector<std::uint8_t> sent;

  void setPort(const PortChoice&) override { log.push_back("setPort"); }
  Result<void> open() override { return step("open"); }
  Result<void> configure(const LineSettings&) override { return step("configure"); }
  Result<void> write(std::span<const std::uint8_t> bytes) override {
    const std::string name = "write " + std::to_string(sent.size());
    if (name == failOn) return step(name);
    sent.insert(sent.end(), bytes.begin(), bytes.end());
    return {};
  }
  Result<void> close() override { return step("close"); }
  void abandon() override { log.push_back("abandon"); }
  void setWaitHook(WaitHook) override {}

 private:
  Result<void> step(const std::string& name) {
    log.push_back(name);
    if (name == failOn) return Failure(name);
    return {};
  }
};

std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<std::uint8_t> zhongA() {
  return concat(offsetBytes(kZhongOffset, 32, kHzk16Size), offsetBytes(kAOffset, 16, kAsc16Size));
}

// The listing of 中A as the synthetic fonts draw it, and as far as a send
// stopping at glyph byte 0, 16 and 32 gets.
constexpr std::u16string_view kZhongHeader = u"\r\n;--------中--------字模结构：　16*16　点阵\r\nDB  ";
constexpr std::u16string_view kZhongFirstLine = u"97H,35H,D3H,72H,10H,AEH,4CH,EAH,89H,27H,C5H,63H,2H,A0H,3EH,DCH,\r\n";
constexpr std::u16string_view kZhongSecondLine = u"7AH,19H,B7H,55H,F3H,91H,30H,CEH,6CH,AH,A9H,47H,E5H,83H,21H,C0H,\r\n";
constexpr std::u16string_view kAHeader = u";--------A--------字模结构：　8*16　点阵\r\nDB  ";
constexpr std::u16string_view kALine = u"5FH,FDH,9CH,3AH,D8H,76H,14H,B3H,51H,EFH,8DH,2BH,CAH,68H,6H,A4H,";

std::u16string joined(std::initializer_list<std::u16string_view> parts) {
  std::u16string text;
  for (const auto part : parts) text += part;
  return text;
}

const std::u16string kZhongAListing = joined({kZhongHeader, kZhongFirstLine, kZhongSecondLine, kAHeader, kALine});

std::u16string withCredits(std::u16string listing) {
  appendCreditBlock(listing);
  return listing;
}

class ExtractionRun : public ::testing::Test {
 protected:
  RunReport run(std::u16string_view text, ByteLayout layout = {}) { return runExtraction(text, layout, fonts); }
  RunReport send(std::u16string_view text, ByteLayout layout = {}) {
    SendTarget target{request, device};
    return runExtraction(text, layout, fonts, &target);
  }

  test::TempDir dir;
  FontPaths fonts = test::writeSyntheticFonts(dir.path());
  Result<SendRequest> request = SendRequest{};
  StepDevice device;
};

TEST_F(ExtractionRun, WithoutSendingNoPortIsTouched) {
  const RunReport report = run(u"中A");
  EXPECT_TRUE(report.completed());
  EXPECT_EQ(report.glyphs.columnCount(), 3);
  EXPECT_EQ(report.glyphs.bytes, zhongA());
  EXPECT_EQ(report.resultText(), withCredits(kZhongAListing));
  EXPECT_TRUE(report.frame.empty());
  EXPECT_TRUE(device.log.empty());
}

TEST_F(ExtractionRun, SendingOpensWritesEachByteThenCloses) {
  const RunReport report = send(u"中A");
  EXPECT_TRUE(report.completed());
  EXPECT_EQ(device.log, (std::vector<std::string>{"setPort", "open", "configure", "close"}));
  EXPECT_EQ(device.sent, encodeFrame({10, 5, 0}, zhongA()));
  EXPECT_EQ(report.frame, device.sent);
  // The success message sits over the listing; the credit block comes after it.
  EXPECT_EQ(report.listing, kZhongAListing);
  EXPECT_EQ(report.resultText(), withCredits(report.listing));
  EXPECT_EQ(report.sentConfirmation, "使用串口com1共发送0.04K数据发送成功");
  EXPECT_EQ(report.sentKilobytes, u"0.04");
}

struct FailureCase {
  const char* name;
  std::string failOn;
  std::vector<std::string> log;
  std::u16string listing;  // as far as the text before the failing byte's own
};

class ExtractionRunFailure : public ExtractionRun, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExtractionRunFailure, WarnsAndKeepsWhatWasListed) {
  device.failOn = GetParam().failOn;
  const RunReport report = send(u"中A");
  EXPECT_FALSE(report.completed());
  EXPECT_EQ(report.failure,
            Failure("串口com1打开失败，可能正在使用中", GetParam().failOn).as(FailureKind::sendPort, "com1"));
  EXPECT_EQ(device.log, GetParam().log);
  EXPECT_EQ(report.resultText(), report.listing);  // no credit block after a failure
  EXPECT_EQ(report.listing, GetParam().listing);
}

std::vector<std::string> failsAt(const std::string& step) { return {"setPort", "open", "configure", step, "abandon"}; }

INSTANTIATE_TEST_SUITE_P(
    Steps, ExtractionRunFailure,
    ::testing::Values(
        FailureCase{"OpenFails", "open", {"setPort", "open"}, u""},
        FailureCase{"ConfigureFails", "configure", {"setPort", "open", "configure", "abandon"}, u""},
        FailureCase{"HeaderFails", "write 0", failsAt("write 0"), u""},
        FailureCase{"LeadInFails", "write 255", failsAt("write 255"), u""},
        FailureCase{"FirstByteFails", "write 256", failsAt("write 256"), std::u16string(kZhongHeader)},
        FailureCase{"SecondLineFails", "write 272", failsAt("write 272"), joined({kZhongHeader, kZhongFirstLine})},
        FailureCase{"SecondGlyphFails", "write 288", failsAt("write 288"),
                    joined({kZhongHeader, kZhongFirstLine, kZhongSecondLine, kAHeader})},
        FailureCase{"TailFails", "write 304", failsAt("write 304"), kZhongAListing},
        FailureCase{"CloseFails", "close", {"setPort", "open", "configure", "close"}, kZhongAListing}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ExtractionRun, ARefusedRequestStopsTheSendBeforeThePort) {
  request = Failure("显示速度“0”无效");
  const RunReport report = send(u"A");
  EXPECT_EQ(report.failure, Failure("显示速度“0”无效"));
  EXPECT_EQ(report.listing, u"");
  EXPECT_TRUE(device.log.empty());
  EXPECT_TRUE(run(u"A").completed());  // without sending the boxes do not matter
}

struct ColumnCase {
  const char* name;
  std::u16string text;
  int columns;
  std::size_t bytes;
};

class ColumnCount : public ExtractionRun, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(ColumnCount, CountsEightDotColumns) {
  const RunReport report = send(GetParam().text);
  EXPECT_TRUE(report.completed());
  EXPECT_EQ(report.glyphs.columnCount(), GetParam().columns);
  EXPECT_EQ(report.glyphs.bytes.size(), GetParam().bytes);
  ASSERT_EQ(device.sent.size(), kFrameOverhead + GetParam().bytes);
  EXPECT_EQ(device.sent[0], widthByte(GetParam().columns));
}

INSTANTIATE_TEST_SUITE_P(Texts, ColumnCount,
                         ::testing::Values(ColumnCase{"Empty", u"", 0, 0}, ColumnCase{"Letter", u"A", 1, 16},
                                           ColumnCase{"Chinese", u"中", 2, 32}, ColumnCase{"Mixed", u"中A", 3, 48},
                                           ColumnCase{"CrLf", u"A\r\nB", 2, 32}, ColumnCase{"LoneCr", u"A\rB", 1, 16},
                                           ColumnCase{"EndsInCr", u"AB\r", 2, 32},
                                           ColumnCase{"LineFeedAndTab", u"\n\t", 2, 32},
                                           ColumnCase{"OutsideGrid", u"丟〇", 4, 64},
                                           ColumnCase{"Emoji", u"\U0001F600", 1, 16}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(ExtractionRun, OptionsReorderThenReverseEachByteOnce) {
  const auto zhong = offsetBytes(kZhongOffset, 32, kHzk16Size);
  std::vector<std::uint8_t> expected;
  for (std::size_t i = 0; i < 32; i += 2) expected.push_back(zhong[i]);
  for (std::size_t i = 1; i < 32; i += 2) expected.push_back(zhong[i]);
  expected = concat(expected, offsetBytes(kAOffset, 16, kAsc16Size));  // single-byte glyphs keep row order
  EXPECT_EQ(run(u"中A", windowLayout(false, true)).glyphs.bytes, expected);

  for (auto& b : expected) b = test::reverseBits(b);
  const RunReport report = send(u"中A", windowLayout(true, true));
  EXPECT_EQ(report.glyphs.bytes, expected);
  EXPECT_EQ(std::vector<std::uint8_t>(device.sent.begin() + kFrameHeadBytes, device.sent.end() - kTailBytes),
            expected);  // the frame sees the reversed bytes
  EXPECT_EQ(report.resultText(),
            withCredits(joined({kZhongHeader,
                                u"E9H,CBH,8H,32H,91H,A3H,40H,7CH,5EH,EDH,CFH,CH,36H,95H,A7H,84H,\r\n"
                                u"ACH,4EH,75H,57H,E4H,C6H,5H,3BH,98H,AAH,89H,73H,50H,E2H,C1H,3H,\r\n",
                                kAHeader, u"FAH,BFH,39H,5CH,1BH,6EH,28H,CDH,8AH,F7H,B1H,D4H,53H,16H,60H,25H,"})));
}

struct WalkFailureCase {
  const char* name;
  std::u16string text;
  bool asc16Missing;
  bool hzk16Missing;
  std::string messagePart;
  std::string reason{};  // the detail beneath, where the run gives the text's own figures
};

class WalkFailure : public ExtractionRun, public ::testing::WithParamInterface<WalkFailureCase> {};

TEST_P(WalkFailure, StopsBeforeThePortWithAWarning) {
  test::TempDir emptyDir;
  if (GetParam().asc16Missing) fonts.asc16 = emptyDir.path() / "asc16";
  if (GetParam().hzk16Missing) fonts.hzk16 = emptyDir.path() / "hzk16";
  const RunReport report = send(GetParam().text);
  ASSERT_FALSE(report.completed());
  const std::string& warning = report.failure->text;
  EXPECT_TRUE(device.log.empty());
  EXPECT_EQ(report.listing, u"");
  EXPECT_NE(warning.find(GetParam().messagePart), std::string::npos) << warning;
  if (!GetParam().reason.empty()) {
    EXPECT_EQ(report.failure->detail, GetParam().reason);
  }
  EXPECT_TRUE(std::filesystem::is_empty(emptyDir.path()));  // a missing font is never created
}

const std::u16string kMaxAscii(4096, u'A');
const std::u16string kMaxChinese(2048, u'中');

INSTANTIATE_TEST_SUITE_P(
    Cases, WalkFailure,
    ::testing::Values(
        WalkFailureCase{"MissingAsc16", u"中A", true, false, "无法打开字库文件“"},
        WalkFailureCase{"MissingHzk16", u"A中", false, true, "hzk16”：文件不存在"},
        WalkFailureCase{"OneSingleByteTooMany", kMaxAscii + u"B", false, false, "4096个单字节字符",
                        "the text has 4097 single-byte and 0 double-byte characters, 65552 glyph bytes; one run "
                        "holds 65536"},
        WalkFailureCase{"OneDoubleByteTooMany", kMaxChinese + u"中\r\n", false, false, "2048个双字节字符",
                        "the text has 0 single-byte and 2049 double-byte characters, 65568 glyph bytes; one run "
                        "holds 65536"},
        WalkFailureCase{"DoubleByteDoesNotFitTheLastSixteen", kMaxAscii.substr(1) + u"中", false, false, "4096",
                        "the text has 4095 single-byte and 1 double-byte characters, 65552 glyph bytes; one run "
                        "holds 65536"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ExtractionRun, FullBufferOfEitherKindIsFine) {
  EXPECT_EQ(run(kMaxAscii).glyphs.bytes.size(), 65536u);
  EXPECT_EQ(run(kMaxChinese).glyphs.bytes.size(), 65536u);
  EXPECT_TRUE(run(kMaxAscii + u"\r\n").completed());  // a trailing line break adds no glyph
}

TEST_F(ExtractionRun, AMissingChineseFontDoesNotStopSingleByteText) {
  fonts.hzk16 = dir.path() / "absent";
  EXPECT_TRUE(run(u"ABC\r\n123").completed());
  EXPECT_FALSE(std::filesystem::exists(fonts.hzk16));
}

}  // namespace
}  // namespace lumadot
