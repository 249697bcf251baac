#include "extract/extraction_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "extract/listing.h"
#include "extract/text_codec.h"
#include "support/bit_order.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::offsetBytes;

constexpr std::uint64_t kZhongOffset = 32u * (53 * 94 + 47);  // 中, D6D0
constexpr std::uint64_t kAOffset = 16u * 'A';

// Stands in for the serial line and the window, recording every call in one
// log so the order of the run's steps can be checked.
class Recorder final : public Transmission, public RunHooks {
 public:
  std::string failOn;  // "selectPort", "open", "header", "leadIn", "byte N", "tail" or "close"
  std::vector<std::string> log;
  std::vector<std::uint8_t> sent;
  std::vector<std::u16string> listings;
  std::vector<Failure> failures;

  Result<void> selectPort() override { return step("selectPort"); }
  Result<void> open() override { return step("open"); }
  std::int32_t headerGlyphBytes = -1;
  Result<void> writeHeader(int columnCount, std::int32_t glyphByteCount) override {
    headerGlyphBytes = glyphByteCount;
    return step("header", " " + std::to_string(columnCount));
  }
  Result<void> writeLeadIn() override { return step("leadIn"); }
  Result<void> writeGlyphByte(std::uint8_t value) override {
    auto written = step("byte " + std::to_string(sent.size()));
    if (written) sent.push_back(value);
    return written;
  }
  Result<void> writeTail() override { return step("tail"); }
  Result<void> close() override { return step("close"); }
  std::string sentConfirmation(std::int32_t count) override {
    log.push_back("sentConfirmation " + std::to_string(count));
    return "ok";
  }
  void showListing(std::u16string_view text) override {
    log.push_back("listing");
    listings.emplace_back(text);
  }
  void showFailure(const Failure& failure) override {
    log.push_back("failure " + failure.text);
    failures.push_back(failure);
  }
  void showSent(std::string_view confirmation) override { log.push_back("sent " + std::string(confirmation)); }

 private:
  // The step named in failOn fails with its own name, so the log shows which failure the run showed.
  Result<void> step(const std::string& name, const std::string& detail = {}) {
    log.push_back(name + detail);
    if (name == failOn) return Failure(name);
    return {};
  }
};

std::vector<std::string> byteSteps(std::size_t from, std::size_t to) {
  std::vector<std::string> steps;
  for (std::size_t i = from; i < to; ++i) steps.push_back("byte " + std::to_string(i));
  return steps;
}

std::vector<std::string> concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

std::vector<std::uint8_t> concat(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<std::uint8_t> zhongA() {
  return concat(offsetBytes(kZhongOffset, 32, kHzk16Size), offsetBytes(kAOffset, 16, kAsc16Size));
}

std::u16string listingOf(const std::vector<std::uint8_t>& bytes, std::u16string_view text) {
  GlyphBuffer buffer;
  for (const auto b : bytes) EXPECT_TRUE(buffer.append(b));
  return writeListing(buffer, text).text;
}

std::u16string withCredits(std::u16string listing) {
  appendCreditBlock(listing);
  return listing;
}

class ExtractionRun : public ::testing::Test {
 protected:
  RunResult run(std::u16string_view text, RunOptions options = {}) {
    return runExtraction(text, options, fonts, buffer, recorder, recorder);
  }
  std::vector<std::uint8_t> filled() const { return {buffer.filled().begin(), buffer.filled().end()}; }

  test::TempDir dir;
  FontPaths fonts = test::writeSyntheticFonts(dir.path());
  GlyphBuffer buffer;
  Recorder recorder;
};

TEST_F(ExtractionRun, WithoutSendingOnlyThePortIsSelected) {
  const RunResult result = run(u"中A");
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.columnCount, 3);
  EXPECT_EQ(filled(), zhongA());
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"selectPort", "listing"}));
  EXPECT_EQ(recorder.listings.back(), withCredits(listingOf(zhongA(), u"中A")));
  EXPECT_TRUE(recorder.failures.empty());
}

TEST_F(ExtractionRun, SendingFollowsTheRunsStepOrder) {
  const RunResult result = run(u"中A", {.send = true});
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(recorder.log,
            concat({{"selectPort", "open", "header 3", "leadIn"},
                    byteSteps(0, 48),
                    {"tail", "close", "sentConfirmation 48", "listing", "sent ok", "listing"}}));
  EXPECT_EQ(recorder.sent, zhongA());
  // The success message sits over the listing; the credit block comes after it.
  ASSERT_EQ(recorder.listings.size(), 2u);
  EXPECT_EQ(recorder.listings[0], listingOf(zhongA(), u"中A"));
  EXPECT_EQ(recorder.listings[1], withCredits(recorder.listings[0]));
}

struct FailureCase {
  const char* name;
  std::string failOn;
  std::vector<std::string> stepsBeforeFailure;
  std::size_t listingBytes;  // glyph bytes whose text the partial listing holds
  bool listingIsEmpty;
};

class ExtractionRunFailure : public ExtractionRun, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExtractionRunFailure, WarnsThenClosesAndKeepsWhatWasListed) {
  recorder.failOn = GetParam().failOn;
  const RunResult result = run(u"中A", {.send = true});
  EXPECT_FALSE(result.completed);
  EXPECT_EQ(recorder.log, concat({GetParam().stepsBeforeFailure, {"listing", "failure " + GetParam().failOn, "close"}}));
  ASSERT_EQ(recorder.listings.size(), 1u);
  if (GetParam().listingIsEmpty) {
    EXPECT_EQ(recorder.listings[0], u"");
  } else {
    // The partial listing ends just before the failing byte's own text.
    const auto bytes = zhongA();
    const std::size_t k = GetParam().listingBytes;
    std::u16string expected = listingOf(bytes, u"中A");
    if (k < bytes.size()) {
      expected = listingOf({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(k) + 1}, u"中A");
      std::u16string failingByte;
      appendByteText(failingByte, bytes[k]);
      expected.resize(expected.size() - failingByte.size());
    }
    EXPECT_EQ(recorder.listings[0], expected);
  }
}

const std::vector<std::string> kUpToLeadIn{"selectPort", "open", "header 3", "leadIn"};

INSTANTIATE_TEST_SUITE_P(
    Steps, ExtractionRunFailure,
    ::testing::Values(
        FailureCase{"PortNotSelected", "selectPort", {"selectPort"}, 0, true},
        FailureCase{"OpenFails", "open", {"selectPort", "open"}, 0, true},
        FailureCase{"HeaderFails", "header", {"selectPort", "open", "header 3"}, 0, true},
        FailureCase{"LeadInFails", "leadIn", kUpToLeadIn, 0, true},
        FailureCase{"FirstByteFails", "byte 0", concat({kUpToLeadIn, {"byte 0"}}), 0, false},
        FailureCase{"SecondLineFails", "byte 16", concat({kUpToLeadIn, byteSteps(0, 17)}), 16, false},
        FailureCase{"SecondGlyphFails", "byte 32", concat({kUpToLeadIn, byteSteps(0, 33)}), 32, false},
        FailureCase{"TailFails", "tail", concat({kUpToLeadIn, byteSteps(0, 48), {"tail"}}), 48, false},
        FailureCase{"CloseFails", "close", concat({kUpToLeadIn, byteSteps(0, 48), {"tail", "close"}}), 48, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ExtractionRun, AnUnselectablePortDoesNotMatterWithoutSending) {
  recorder.failOn = "selectPort";
  EXPECT_TRUE(run(u"A").completed);
  EXPECT_TRUE(recorder.failures.empty());
}

struct ColumnCase {
  const char* name;
  std::u16string text;
  int columns;
  std::int32_t bytes;
};

class ColumnCount : public ExtractionRun, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(ColumnCount, CountsEightDotColumns) {
  const RunResult result = run(GetParam().text, {.send = true});
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.columnCount, GetParam().columns);
  EXPECT_EQ(buffer.fillCount, GetParam().bytes);
  EXPECT_EQ(recorder.log.at(2), "header " + std::to_string(GetParam().columns));
  EXPECT_EQ(recorder.headerGlyphBytes, GetParam().bytes);  // the frame's size is known before its first byte
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
  ASSERT_TRUE(run(u"中A", {.layout = windowLayout(false, true)}).completed);
  EXPECT_EQ(filled(), expected);

  for (auto& b : expected) b = test::reverseBits(b);
  ASSERT_TRUE(run(u"中A", {.layout = windowLayout(true, true), .send = true}).completed);
  EXPECT_EQ(filled(), expected);
  EXPECT_EQ(recorder.sent, expected);  // the frame sees the reversed bytes
  EXPECT_EQ(recorder.listings.back(), withCredits(listingOf(expected, u"中A")));
}

TEST_F(ExtractionRun, ASecondRunOverwritesFromTheStart) {
  ASSERT_TRUE(run(u"中A").completed);
  ASSERT_TRUE(run(u"A").completed);
  EXPECT_EQ(buffer.fillCount, 16);
  EXPECT_EQ(filled(), offsetBytes(kAOffset, 16, kAsc16Size));
  EXPECT_EQ(buffer.glyphBytes[16], zhongA()[16]);  // left over, never listed
  EXPECT_EQ(recorder.listings.back(), withCredits(listingOf(filled(), u"A")));
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
  const RunResult result = run(GetParam().text, {.send = true});
  EXPECT_FALSE(result.completed);
  ASSERT_EQ(recorder.failures.size(), 1u);
  const std::string& warning = recorder.failures[0].text;
  EXPECT_EQ(recorder.log, (std::vector<std::string>{"listing", "failure " + warning}));
  EXPECT_EQ(recorder.listings.at(0), u"");
  EXPECT_NE(warning.find(GetParam().messagePart), std::string::npos) << warning;
  if (!GetParam().reason.empty()) {
    EXPECT_EQ(recorder.failures[0].detail, GetParam().reason);
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
  EXPECT_TRUE(run(kMaxAscii).completed);
  EXPECT_EQ(buffer.fillCount, GlyphBuffer::kCapacity);
  EXPECT_TRUE(run(kMaxChinese).completed);
  EXPECT_EQ(buffer.fillCount, GlyphBuffer::kCapacity);
  EXPECT_TRUE(run(kMaxAscii + u"\r\n").completed);  // a trailing line break adds no glyph
}

TEST_F(ExtractionRun, AMissingChineseFontDoesNotStopSingleByteText) {
  fonts.hzk16 = dir.path() / "absent";
  EXPECT_TRUE(run(u"ABC\r\n123").completed);
  EXPECT_FALSE(std::filesystem::exists(fonts.hzk16));
}

}  // namespace
}  // namespace lumadot
