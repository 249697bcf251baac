// lumadot-cli as a user runs it, on the fonts the build made from Unifont.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/version.h"
#include "support/process.h"
#include "support/pseudo_terminal.h"

namespace lumadot {
namespace {

using test::runProcess;

const std::filesystem::path kCli = LUMADOT_CLI_PATH;
const std::filesystem::path kBinDir = LUMADOT_BIN_DIR;

// The credit block as the result box ends with it.
std::string creditBlock() {
  const auto r = runProcess(kCli, {"extract", ""});
  EXPECT_EQ(r.exitCode, 0);
  return r.out;
}

// Both glyphs as Unifont 15 (Debian 12) draws them.
const std::string kZhongA =
    "\r\n;--------中--------字模结构：　16*16　点阵\r\n"
    "DB  1H,0H,1H,0H,1H,0H,1H,0H,3FH,F8H,21H,8H,21H,8H,21H,8H,\r\n"
    "21H,8H,21H,8H,3FH,F8H,21H,8H,1H,0H,1H,0H,1H,0H,1H,0H,"
    "\r\n;--------A--------字模结构：　8*16　点阵\r\n"
    "DB  0H,0H,0H,0H,18H,24H,24H,42H,42H,7EH,42H,42H,42H,42H,0H,0H,";

TEST(CliExtract, PrintsTheListingOfStandardInputByteForByte) {
  const auto r = runProcess(kCli, {"extract"}, "中A");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, kZhongA + creditBlock());
  EXPECT_EQ(runProcess(kCli, {"extract", "中A"}).out, r.out);  // TEXT gives the same
}

TEST(CliExtract, CreditBlockFollowsAnEmptyLine) {
  const std::string credits = creditBlock();
  ASSERT_EQ(credits.substr(0, 5), "\r\n\r\n;");
  EXPECT_NE(credits.back(), '\n');
  std::size_t lines = 0;
  for (std::size_t pos = 2; (pos = credits.find("\r\n;", pos)) != std::string::npos; pos += 3) ++lines;
  EXPECT_EQ(lines, 4u);
}

struct OptionCase {
  const char* name;
  std::vector<std::string> args;
  std::string firstDataLine;
};

class CliExtractOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(CliExtractOptions, ChangeTheBytes) {
  auto args = GetParam().args;
  args.insert(args.begin(), "extract");
  args.push_back("中");
  const auto r = runProcess(kCli, args);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto start = r.out.find("DB  ");
  ASSERT_NE(start, std::string::npos);
  EXPECT_EQ(r.out.substr(start, r.out.find("\r\n", start) - start), GetParam().firstDataLine);
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliExtractOptions,
    ::testing::Values(
        OptionCase{"None", {}, "DB  1H,0H,1H,0H,1H,0H,1H,0H,3FH,F8H,21H,8H,21H,8H,21H,8H,"},
        OptionCase{"Split", {"--split"}, "DB  1H,1H,1H,1H,3FH,21H,21H,21H,21H,21H,3FH,21H,1H,1H,1H,1H,"},
        OptionCase{"Reverse", {"--reverse"}, "DB  80H,0H,80H,0H,80H,0H,80H,0H,FCH,1FH,84H,10H,84H,10H,84H,10H,"},
        OptionCase{"Both", {"--reverse", "--split"}, "DB  80H,80H,80H,80H,FCH,84H,84H,84H,84H,84H,FCH,84H,80H,80H,80H,80H,"},
        OptionCase{"FontDirExplicit", {"--font-dir", LUMADOT_BIN_DIR},
                   "DB  1H,0H,1H,0H,1H,0H,1H,0H,3FH,F8H,21H,8H,21H,8H,21H,8H,"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CliExtract, InputIsKeptAsTyped) {
  // CR LF is skipped as in the input box; a lone line feed gets an entry.
  const auto crlf = runProcess(kCli, {"extract"}, "A\r\nB");
  EXPECT_NE(crlf.out.find(";--------A--"), std::string::npos);
  EXPECT_NE(crlf.out.find(";--------B--"), std::string::npos);
  EXPECT_EQ(crlf.out.find(";--------\r"), std::string::npos);
  const auto lf = runProcess(kCli, {"extract"}, "A\n");
  EXPECT_NE(lf.out.find(";--------\n--------字模结构"), std::string::npos);

  // A character outside code page 936 is looked up as "?", under its own name.
  const auto emoji = runProcess(kCli, {"extract", "😀"});
  const auto question = runProcess(kCli, {"extract", "?"});
  ASSERT_EQ(emoji.exitCode, 0);
  EXPECT_NE(emoji.out.find(";--------😀--------字模结构：　8*16　点阵"), std::string::npos);
  EXPECT_EQ(emoji.out.substr(emoji.out.find("DB  ")), question.out.substr(question.out.find("DB  ")));

  // Bytes that are not UTF-8 are not dropped: each is an unrepresentable character.
  const auto bad = runProcess(kCli, {"extract"}, "\xFF" "A");
  EXPECT_EQ(bad.exitCode, 0);
  EXPECT_NE(bad.out.find(";--------\xEF\xBF\xBD--"), std::string::npos);
  EXPECT_NE(bad.out.find(";--------A--"), std::string::npos);

  // Text starting with '-' after "--".
  const auto dash = runProcess(kCli, {"extract", "--", "-5"});
  EXPECT_EQ(dash.exitCode, 0);
  EXPECT_NE(dash.out.find(";---------"), std::string::npos);
}

TEST(CliExtract, MissingFontsFailWithAWarningAndCreateNothing) {
  test::TempDir empty;
  const auto r = runProcess(kCli, {"extract", "--font-dir", empty.path().string(), "中A"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "警告: 无法打开字库文件“" + (empty.path() / "hzk16").string() + "”：文件不存在\n");
  EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
}

TEST(CliExtract, TooLongTextFailsWithTheLimit) {
  const auto r = runProcess(kCli, {"extract"}, std::string(4097, 'A'));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("4096"), std::string::npos);
  EXPECT_EQ(runProcess(kCli, {"extract"}, std::string(4096, 'A')).exitCode, 0);
}

// Sending, as a user tries it: LUMADOT_COM1 points at a pseudo-terminal.
TEST(CliSend, DeliversTheFrameAndReportsOnStandardError) {
  test::PseudoTerminal sign;
  const auto r = runProcess(kCli, {"extract", "--send", "中A"}, {}, {"LUMADOT_COM1=" + sign.path(), "LC_ALL=C"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "系统提示: 使用串口com1共发送0.04K数据发送成功\n");
  EXPECT_EQ(r.out, kZhongA + creditBlock());
  const auto frame = sign.receivedAll();
  ASSERT_EQ(frame.size(), 593u);
  EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 3), (std::vector<std::uint8_t>{10, 5, 0}));

  // --frame-out writes the very same bytes, no port needed.
  test::TempDir dir;
  const auto file = dir.path() / "frame.bin";
  const auto toFile = runProcess(kCli, {"extract", "--frame-out", file.string(), "中A"}, {}, {"LC_ALL=C"});
  EXPECT_EQ(toFile.exitCode, 0) << toFile.err;
  EXPECT_EQ(toFile.err, r.err);
  EXPECT_EQ(test::readFile(file), std::string(frame.begin(), frame.end()));
}

TEST(CliSend, OptionsStandForTheBoxes) {
  test::TempDir dir;
  const auto file = dir.path() / "frame.bin";
  const auto r = runProcess(kCli,
                            {"extract", "--frame-out", file.string(), "--port", "com12", "--speed", "1", "--mode",
                             "闪烁", "--baud", "115200", "--parity", "N", "--data-bits", "7", "--stop-bits", "2", "A"},
                            {}, {"LC_ALL=de_DE.UTF-8"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "系统提示: 使用串口com12共发送0,01K数据发送成功\n");  // the locale's decimal separator
  EXPECT_EQ(test::readFile(file).substr(0, 3), std::string("\x09\x01\x05", 3));
}

struct SendFailureCase {
  const char* name;
  std::vector<std::string> args;
  std::string err;
};

class CliSendFailure : public ::testing::TestWithParam<SendFailureCase> {};

// A failed send exits 1, prints the window's warning, and leaves no frame file behind.
TEST_P(CliSendFailure, ExitsOneWithTheWarning) {
  test::TempDir dir;
  const auto file = dir.path() / "frame.bin";
  auto args = GetParam().args;
  args.insert(args.begin(), {"extract", "--frame-out", file.string()});
  args.push_back("中A");
  const auto r = runProcess(kCli, args);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, GetParam().err);
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(std::filesystem::exists(file));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, CliSendFailure,
    ::testing::Values(
        SendFailureCase{"UnknownPort", {"--port", "COM1"}, "警告: 串口COM1打开失败，可能正在使用中\n"},
        SendFailureCase{"SpeedOutOfTable", {"--speed", "0"}, "警告: 显示速度“0”无效\n"},
        SendFailureCase{"ModeOutOfTable", {"--mode", "static"}, "警告: 显示方式“static”无效\n"},
        SendFailureCase{"RefusedSettings", {"--data-bits", "4"}, "警告: 串口com1打开失败，可能正在使用中\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CliSend, MissingDeviceNamesItAfterTheWarning) {
  const auto r = runProcess(kCli, {"extract", "--send", "A"}, {}, {"LUMADOT_COM1=/nonexistent/ttyX"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), "警告: 串口com1打开失败，可能正在使用中\n");
  EXPECT_NE(r.err.find("lumadot-cli: com1 (/nonexistent/ttyX): "), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST(CliPorts, ListsWhereEachComNameLeads) {
  const auto r = runProcess(kCli, {"ports"}, {}, {"LUMADOT_COM3=/dev/null", "LUMADOT_COM4=/nonexistent/ttyX"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::size_t lines = 0;
  for (const char c : r.out) lines += c == '\n' ? 1 : 0;
  EXPECT_EQ(lines, 16u);
  EXPECT_NE(r.out.find("com3   /dev/null             present   from LUMADOT_COM3\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("com4   /nonexistent/ttyX     absent    from LUMADOT_COM4\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1, 7), "com16  ");  // in order, com16 last
}

struct UsageCase {
  const char* name;
  std::vector<std::string> args;
  int exitCode;
  std::string expectedOut;  // a piece of standard output
  std::string expectedErr;  // a piece of standard error
};

class CliUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsage, ExitsAndExplains) {
  const auto r = runProcess(kCli, GetParam().args);
  EXPECT_EQ(r.exitCode, GetParam().exitCode) << r.err;
  EXPECT_NE(r.out.find(GetParam().expectedOut), std::string::npos) << r.out;
  EXPECT_NE(r.err.find(GetParam().expectedErr), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliUsage,
    ::testing::Values(UsageCase{"NoCommand", {}, 2, "", "Usage: lumadot-cli COMMAND"},
                      UsageCase{"UnknownCommand", {"draw"}, 2, "", "unknown command 'draw'"},
                      UsageCase{"Help", {"--help"}, 0, "extract", ""},
                      UsageCase{"ExtractHelp", {"extract", "--help"}, 0, "--font-dir DIR", ""},
                      UsageCase{"ExtractHelpSending", {"extract", "--help"}, 0, "--frame-out FILE", ""},
                      UsageCase{"PortsHelp", {"ports", "--help"}, 0, "LUMADOT_COMn", ""},
                      UsageCase{"PortsTakesNoText", {"ports", "com1"}, 2, "", "ports takes no arguments"},
                      UsageCase{"PortNeedsValue", {"extract", "--send", "--port"}, 2, "", "'--port' needs a value"},
                      UsageCase{"UnknownOption", {"extract", "--bold", "A"}, 2, "", "unknown option '--bold'"},
                      UsageCase{"MissingValue", {"extract", "A", "--font-dir"}, 2, "", "needs a value"},
                      UsageCase{"FlagWithValue", {"extract", "--split=yes", "A"}, 2, "", "takes no value"},
                      UsageCase{"EmptyValue", {"extract", "--font-dir=", "A"}, 2, "", "'--font-dir' needs a value"},
                      UsageCase{"OptionTakenForValue", {"extract", "--font-dir", "--split", "A"}, 2, "",
                                "'--font-dir' needs a value"},
                      UsageCase{"TwoTexts", {"extract", "A", "B"}, 2, "", "one TEXT"},
                      UsageCase{"ClockHelp", {"clock", "--help"}, 0, "--count N", ""},
                      UsageCase{"ClockHelpHasNoSpeed", {"clock", "--help"}, 0, "--mode MODE", ""},
                      UsageCase{"ClockTakesNoText", {"clock", "A"}, 2, "", "clock takes no TEXT"},
                      UsageCase{"ClockFixesTheSpeed", {"clock", "--speed", "3"}, 2, "", "speed 1"},
                      UsageCase{"ClockFixesTheOptions", {"clock", "--reverse"}, 2, "", "always extracts"},
                      UsageCase{"ClockCountZero", {"clock", "--count", "0"}, 2, "", "--count takes a whole number"},
                      UsageCase{"ClockCountNotANumber", {"clock", "--count", "2x"}, 2, "", "not '2x'"},
                      UsageCase{"ExtractHelpFormats", {"extract", "--help"}, 0, "--format FORMAT", ""},
                      UsageCase{"UnknownFormat", {"extract", "--format", "ihex", "A"}, 2, "",
                                "unknown format 'ihex'; choose listing, a51"},
                      UsageCase{"NameWithoutLabels", {"extract", "--format", "hex", "--name", "HZ", "A"}, 2, "",
                                "--name goes with"},
                      UsageCase{"NameNotAnIdentifier", {"extract", "--format", "a51", "--name", "1HZ", "A"}, 2, "",
                                "--name 1HZ: the name must start with a letter"},
                      UsageCase{"TableOnlyInC", {"extract", "--format", "as31", "--table", "A"}, 2, "",
                                "--table goes with --format c51 or sdcc"},
                      UsageCase{"TableNeedsAFormat", {"extract", "--table", "A"}, 2, "", "--table goes with"},
                      UsageCase{"PreviewHelp", {"preview", "--help"}, 0, "--png FILE", ""},
                      UsageCase{"PreviewTwoTexts", {"preview", "A", "B"}, 2, "", "preview takes one TEXT"},
                      UsageCase{"PreviewNoSending", {"preview", "--send", "A"}, 2, "", "unknown option '--send'"},
                      UsageCase{"PreviewScaleWithoutPng", {"preview", "--scale", "2", "A"}, 2, "",
                                "--scale goes with --png"},
                      UsageCase{"PreviewScaleTooLarge", {"preview", "--png", "x.png", "--scale", "33", "A"}, 2, "",
                                "from 1 to 32"},
                      UsageCase{"PreviewNegativeWidth", {"preview", "--width", "-1", "A"}, 2, "", "--width must be"},
                      UsageCase{"ClockUnknownLocale", {"clock", "--locale", "xx", "--count", "1"}, 2, "",
                                "unknown locale 'xx'"},
                      UsageCase{"Version", {"--version"}, 0, "lumadot-cli " + std::string(kVersion) + "\n", ""},
                      UsageCase{"ShortHelp", {"preview", "-h"}, 0, "--scale N", ""},
                      UsageCase{"OptionAfterText", {"extract", "中", "--split"}, 0, "DB  1H,1H,1H,1H,3FH,21H", ""},
                      UsageCase{"FlagTwice", {"extract", "--split", "--split", "中"}, 0, "DB  1H,1H,1H,1H,3FH", ""},
                      UsageCase{"LastValueCounts", {"extract", "--format", "hex", "--format=a51", "A"}, 0, "ZI_0:", ""},
                      UsageCase{"DashTextAfterDoubleDash", {"extract", "--", "-h"}, 0, ";--------h--------", ""},
                      UsageCase{"DecimalWidth", {"preview", "--ascii", "--width", "024", "中A"}, 0, "..###########......##...\n", ""},
                      UsageCase{"UnknownOptionAfterText", {"preview", "A", "--bold"}, 2, "",
                                "unknown option '--bold'"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot
