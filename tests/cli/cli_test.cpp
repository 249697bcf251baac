// lumadot-cli as a user runs it, on the fonts the build made from Unifont.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "base/version.h"
#include "support/named_rows.h"
#include "support/process.h"
#include "support/pseudo_terminal.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

using test::PrintTo;

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

// Piped text is read as the input box holds typed text: a line break is CR LF
// and gets no glyph, and a byte order mark is no character.
TEST(CliExtract, PipedTextIsReadAsTyped) {
  const std::string typed = runProcess(kCli, {"extract", "中A"}).out;
  for (const std::string piped : {"中A\n", "\xEF\xBB\xBF中A", "\xEF\xBB\xBF中A\r\n", "中\nA", "中\r\nA\n"}) {
    const auto r = runProcess(kCli, {"extract"}, piped);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, typed) << piped;
  }
  // Only a leading mark goes, and TEXT is taken as it stands: its lone line feed gets an entry.
  EXPECT_NE(runProcess(kCli, {"extract"}, "A\xEF\xBB\xBF").out.find(";--------\xEF\xBB\xBF--"), std::string::npos);
  EXPECT_NE(runProcess(kCli, {"extract", "A\n"}).out.find(";--------\n--------字模结构"), std::string::npos);
}

struct EncodingCase {
  const char* name;
  std::vector<std::string> args;
  std::string piped;
  std::string text;  // what the listing must be of; empty: the run fails
  std::string err{};  // standard error, when it fails
};

class CliEncoding : public ::testing::TestWithParam<EncodingCase> {};

// Text in another encoding, piped or from --text-file, extracts as the same text typed.
TEST_P(CliEncoding, ReadsTextInItsEncoding) {
  const EncodingCase& row = GetParam();
  test::TempDir dir;
  const std::string file = (dir.path() / "文本.txt").string();
  auto args = row.args;
  args.insert(args.begin(), "extract");
  std::replace(args.begin(), args.end(), std::string("FILE"), file);
  test::writeFile(file, row.piped);
  const auto r = runProcess(kCli, args, row.piped);
  if (row.text.empty()) {
    std::string err = row.err;
    if (const auto at = err.find("FILE"); at != std::string::npos) err.replace(at, 4, file);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, err);
    return;
  }
  const auto typed = runProcess(kCli, {"extract", row.text});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, typed.err);  // 體 is outside hzk16's grid either way
  EXPECT_EQ(r.out, typed.out);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, CliEncoding,
    ::testing::Values(
        EncodingCase{"Gb2312", {"--encoding", "gb2312"}, "\xD6\xD0\xCE\xC4" "A\n", "中文A"},
        EncodingCase{"Gb2312NamedInCapitals", {"--encoding", "GB2312"}, "\xD6\xD0\xCE\xC4" "A", "中文A"},
        EncodingCase{"Gb2312FromAFile", {"--encoding", "gb2312", "--text-file", "FILE"}, "\xD6\xD0\xCE\xC4" "A", "中文A"},
        EncodingCase{"GbkBeyondGb2312", {"--encoding", "gbk"}, "\xF3\x77", "體"},
        EncodingCase{"Gb18030", {"--encoding", "gb18030"}, "\xF3\x77" "A", "體A"},
        EncodingCase{"Big5", {"--encoding", "big5"}, "\xA4\xA4\xA4\xE5" "A", "中文A"},
        EncodingCase{"Utf16LeByItsMark", {}, std::string("\xFF\xFE\x2D\x4E\x87\x65\x41\x00\x0A\x00", 10), "中文A"},
        EncodingCase{"Utf16BeByItsMark", {}, std::string("\xFE\xFF\x4E\x2D\x65\x87\x00\x41", 8), "中文A"},
        EncodingCase{"Utf16WithoutMarkIsLittleEndian", {"--encoding", "utf-16"},
                     std::string("\x2D\x4E\x87\x65\x41\x00", 6), "中文A"},
        EncodingCase{"Utf8MarkWithUtf8Asked", {"--encoding", "utf8"}, "\xEF\xBB\xBF中文A", "中文A"},
        EncodingCase{"Gb2312TakenForUtf8", {}, "\xD6\xD0\xCE\xC4" "A\n", "",
                     "lumadot-cli: standard input is not valid UTF-8: byte 0xD6 at offset 0; it reads as GB2312: add "
                     "--encoding gb2312; nothing was extracted\n"},
        EncodingCase{"Utf16WithoutMarkTakenForUtf8", {}, std::string("\x2D\x4E\x87\x65\x41\x00", 6), "",
                     "lumadot-cli: standard input is not valid UTF-8: byte 0x87 at offset 2; it reads as UTF-16LE: add "
                     "--encoding utf-16le; nothing was extracted\n"},
        // 中A in UTF-16 without a mark is valid UTF-8 too: -, N, A and a NUL.
        EncodingCase{"Utf16WithoutMarkHoldingNul", {}, std::string("\x2D\x4E\x41\x00", 4), "",
                     "lumadot-cli: standard input holds a NUL at offset 3, which no typed text holds; it reads as "
                     "UTF-16LE: add --encoding utf-16le; nothing was extracted\n"},
        EncodingCase{"Utf16LeAsked", {"--encoding", "utf-16le"}, std::string("\x2D\x4E\x41\x00", 4), "中A"},
        EncodingCase{"NulInUtf16", {"--encoding", "utf-16le", "--text-file", "FILE"}, std::string("A\0\0\0", 4), "",
                     "lumadot-cli: FILE holds a NUL at offset 2 read as UTF-16LE, which no typed text holds; nothing "
                     "was extracted\n"},
        EncodingCase{"CutOffGb2312", {"--encoding", "gb2312", "--text-file", "FILE"}, "A\xD6", "",
                     "lumadot-cli: FILE is not valid GB2312: byte 0xD6 at offset 1; nothing was extracted\n"},
        EncodingCase{"OutsideGb2312", {"--encoding", "gb2312"}, "\xF3\x77", "",
                     "lumadot-cli: standard input is not valid GB2312: byte 0xF3 at offset 0; nothing was extracted\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CliExtract, InputIsKeptAsTyped) {

  // A character outside code page 936 is looked up as "?", under its own name.
  const auto emoji = runProcess(kCli, {"extract", "😀"});
  const auto question = runProcess(kCli, {"extract", "?"});
  ASSERT_EQ(emoji.exitCode, 0);
  EXPECT_NE(emoji.out.find(";--------😀--------字模结构：　8*16　点阵"), std::string::npos);
  EXPECT_EQ(emoji.out.substr(emoji.out.find("DB  ")), question.out.substr(question.out.find("DB  ")));

  // Bytes that are not UTF-8 are never guessed at: the run stops, naming the first.
  const auto bad = runProcess(kCli, {"extract"}, "A\xFF" "A");
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "lumadot-cli: standard input is not valid UTF-8: byte 0xFF at offset 1; nothing was extracted\n");

  // Text starting with '-' after "--".
  const auto dash = runProcess(kCli, {"extract", "--", "-5"});
  EXPECT_EQ(dash.exitCode, 0);
  EXPECT_NE(dash.out.find(";---------"), std::string::npos);
}

// The run's bytes stay as they are; standard error says which characters the sign cannot show as typed.
TEST(CliExtract, WarnsOfCharactersItCannotDrawAsTyped) {
  const auto r = runProcess(kCli, {"extract", "丂😀A丂✓中"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err,
            "lumadot-cli: warning: 😀 ✓: not in code page 936 (GBK); each comes out as \"?\"\n"
            "lumadot-cli: warning: 丂: outside the GB2312 grid of hzk16; each comes out blank (--charset gbk has a place "
            "for every one)\n");
  EXPECT_NE(r.out.find(";--------丂--------字模结构：　16*16　点阵\r\nDB  0H,0H,0H,0H,0H,0H,0H,0H,"), std::string::npos);

  test::TempDir dir;  // an asc16 cut short after six glyphs and a bit
  test::writeFile(dir.path() / "asc16", test::readFile(kBinDir / "asc16").substr(0, 100));
  std::filesystem::copy_file(kBinDir / "hzk16", dir.path() / "hzk16");
  const auto cut = runProcess(kCli, {"extract", "--font-dir", dir.path().string(), "\x05\x06中A"});
  EXPECT_EQ(cut.exitCode, 0);
  EXPECT_EQ(cut.err, "lumadot-cli: warning: U+0006 A: past the end of " + (dir.path() / "asc16").string() +
                         ", which holds only 100 of its 4096 bytes; each comes out blank\n");
  EXPECT_NE(cut.out.find(";--------A--------字模结构：　8*16　点阵\r\nDB  0H,0H,0H,0H,0H,0H,0H,0H,"), std::string::npos);
}

TEST(CliExtract, ListingOnATerminalEndsWithALineBreak) {
  const auto piped = runProcess(kCli, {"extract", "中A"});
  const auto shown = runProcess(kCli, {"extract", "中A"}, {}, {}, {}, true);
  EXPECT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_EQ(shown.out, piped.out + "\r\n");
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
  // Input far past any text is refused once it passes 4 MiB, not held in memory to its end.
  const auto huge = runProcess(kCli, {"extract"}, std::string((std::size_t{4} << 20) + 1, 'A'));
  EXPECT_EQ(huge.exitCode, 1);
  EXPECT_EQ(huge.out, "");
  EXPECT_NE(huge.err.find("standard input is longer than 4 MiB (4194304 bytes)"), std::string::npos) << huge.err;
  test::TempDir dir;
  test::writeFile(dir.path() / "big.txt", std::string((std::size_t{4} << 20) + 1, 'A'));
  const auto hugeFile = runProcess(kCli, {"extract", "--text-file", (dir.path() / "big.txt").string()});
  EXPECT_EQ(hugeFile.exitCode, 1);
  EXPECT_EQ(hugeFile.err, "lumadot-cli: " + (dir.path() / "big.txt").string() +
                              " is longer than 4 MiB (4194304 bytes), far more than any text for the sign; nothing "
                              "was extracted\n");
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
  EXPECT_EQ(toFile.err, "lumadot-cli: wrote 593 bytes to " + file.string() + "\n");  // no port was used
  EXPECT_EQ(test::readFile(file), std::string(frame.begin(), frame.end()));

  // --device names the port by its path, and the message names it so.
  test::PseudoTerminal byPath;
  const auto r2 = runProcess(kCli, {"extract", "--send", "--device", byPath.path(), "中A"}, {}, {"LC_ALL=C"});
  EXPECT_EQ(r2.exitCode, 0) << r2.err;
  EXPECT_EQ(r2.err, "系统提示: 使用串口" + byPath.path() + "共发送0.04K数据发送成功\n");
  EXPECT_EQ(byPath.receivedAll(), frame);
}

TEST(CliSend, OptionsStandForTheBoxes) {
  test::PseudoTerminal sign;
  const auto r = runProcess(kCli,
                            {"extract", "--send", "--port", "com12", "--speed", "1", "--mode", "闪烁", "--baud",
                             "115200", "--parity", "N", "--data-bits", "7", "--stop-bits", "2", "A"},
                            {}, {"LC_ALL=de_DE.UTF-8", "LUMADOT_COM12=" + sign.path()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "系统提示: 使用串口com12共发送0,01K数据发送成功\n");  // the locale's decimal separator
  const auto frame = sign.receivedAll();
  ASSERT_GE(frame.size(), 3u);
  EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 3), (std::vector<std::uint8_t>{9, 1, 5}));
}

// Windows spells its ports COM1: the option takes that as com1 everywhere, and says com1.
TEST(CliSend, PortTakesComInAnyCase) {
  for (const std::string name : {"COM3", "Com3"}) {
    test::PseudoTerminal sign;
    const auto r = runProcess(kCli, {"extract", "--send", "--port", name, "A"}, {}, {"LUMADOT_COM3=" + sign.path(), "LC_ALL=C"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "系统提示: 使用串口com3共发送0.01K数据发送成功\n");
    EXPECT_EQ(sign.receivedAll().size(), 561u) << name;
  }
}

struct SendFailureCase {
  const char* name;
  std::vector<std::string> args;
  std::string err;
  std::string text = "中A";
};

class CliSendFailure : public ::testing::TestWithParam<SendFailureCase> {};

// A failed send exits 1, prints the window's warning, and leaves no frame file behind.
// No port is involved, so where the window would name the port the file is named.
TEST_P(CliSendFailure, ExitsOneWithTheWarning) {
  test::TempDir dir;
  const auto file = dir.path() / "frame.bin";
  auto args = GetParam().args;
  args.insert(args.begin(), {"extract", "--frame-out", file.string()});
  args.push_back(GetParam().text);
  const auto r = runProcess(kCli, args);
  EXPECT_EQ(r.exitCode, 1);
  std::string err = GetParam().err;
  if (const auto at = err.find("FILE"); at != std::string::npos) err.replace(at, 4, file.string());
  EXPECT_EQ(r.err, err);
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(std::filesystem::exists(file));
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, CliSendFailure,
    ::testing::Values(
        SendFailureCase{"TooWide", {},
                        "警告: the text is too wide for a frame; FILE is left as it was\nlumadot-cli: the text is 494 columns wide, and a frame holds "
                        "at most 493 (246 Chinese characters and one single-byte one)\n",
                        [] {
                          std::string wide;
                          for (int i = 0; i < 247; ++i) wide += "中";
                          return wide;
                        }()}),
    [](const auto& row) { return std::string(row.param.name); });

struct StandardOutputFileCase {
  const char* name;
  std::vector<std::string> args;  // OUT stands for the file standard output goes to
  std::string refused;            // the option and the path as given
};

class CliStandardOutputFile : public ::testing::TestWithParam<StandardOutputFileCase> {};

// A file option naming the file standard output goes to is a usage error, found before anything is
// written: one would overwrite the other. Appended to, the file shows anything written to it.
TEST_P(CliStandardOutputFile, IsRefusedBeforeAnythingIsWritten) {
  test::TempDir dir;
  const std::string out = (dir.path() / "out.c").string();
  test::writeFile(out, "kept\n");
  std::vector<std::string> args{"-c", "out=$1; shift; exec \"$@\" >>\"$out\"", "sh", out, kCli.string()};
  for (const std::string& arg : GetParam().args) args.push_back(arg == "OUT" ? out : arg);
  const auto r = runProcess("/bin/sh", args);
  EXPECT_EQ(r.exitCode, 2) << r.err;
  std::string refused = GetParam().refused;
  if (const auto at = refused.find("OUT"); at != std::string::npos) refused.replace(at, 3, out);
  EXPECT_NE(r.err.find("lumadot-cli: " + refused + " is the file standard output goes to, and one would overwrite the "
                       "other: name another file\n"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(test::readFile(out), "kept\n");
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliStandardOutputFile,
    ::testing::Values(
        StandardOutputFileCase{"FontHeader", {"font", "--header", "OUT", "A"}, "--header OUT"},
        StandardOutputFileCase{"ExtractFrame", {"extract", "--format", "hex", "--frame-out", "OUT", "A"},
                               "--frame-out OUT"},
        StandardOutputFileCase{"ExtractFrameByDevStdout", {"extract", "--frame-out", "/dev/stdout", "A"},
                               "--frame-out /dev/stdout"},
        StandardOutputFileCase{"PictureFrame", {"picture", "--frame-out", "OUT", "logo.png"}, "--frame-out OUT"},
        StandardOutputFileCase{"ClockFrame", {"clock", "--count", "1", "--frame-out", "OUT"}, "--frame-out OUT"},
        StandardOutputFileCase{"SignGif", {"sign", "--gif", "OUT"}, "--gif OUT"}),
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
  EXPECT_NE(r.out.find("com3   /dev/null             present   from LUMADOT_COM3\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("com4   /nonexistent/ttyX     absent    from LUMADOT_COM4\n"), std::string::npos) << r.out;
  // com1 to com16 in order, then any device the system lists that no comN leads to, by its path.
  std::istringstream lines(r.out);
  std::string line;
  for (int n = 1; n <= 16; ++n) {
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_EQ(line.substr(0, 7), ("com" + std::to_string(n) + "   ").substr(0, 7)) << line;
  }
  while (std::getline(lines, line)) {
    EXPECT_TRUE(line.starts_with("-      /") && line.ends_with("present   listed beyond com16; name it by its path"))
        << line;
  }
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
                      UsageCase{"PictureHelp", {"picture", "--help"}, 0, "--threshold N", ""},
                      UsageCase{"PictureNeedsFile", {"picture"}, 2, "", "lumadot-cli: missing FILE\n"},
                      UsageCase{"PictureSendsSixteenRows", {"picture", "--send", "--size", "40x24", "a.png"}, 2, "",
                                "lumadot-cli: the sign shows 16-dot glyphs, so a picture 24 dots high cannot be sent"},
                      UsageCase{"PictureFormatOrPreview", {"picture", "--preview", "--format", "a51", "a.png"}, 2, "",
                                "lumadot-cli: --format goes without --preview and --png\n"},
                      UsageCase{"PictureSizeTooTall", {"picture", "--size", "8x65", "a.png"}, 2, "",
                                "--size takes WxH, W 1 to 65535 and H 1 to 64, not '8x65'"},
                      UsageCase{"PictureHeightOrSize", {"picture", "--size", "8x8", "--height", "8", "a.png"}, 2, "",
                                "excludes"},
                      UsageCase{"PictureAsciiWithoutPreview", {"picture", "--ascii", "a.png"}, 2, "", "--ascii"},
                      UsageCase{"PortsTakesNoText", {"ports", "com1"}, 2, "", "ports takes no arguments"},
                      UsageCase{"PortNeedsValue", {"extract", "--send", "--port"}, 2, "", "'--port' needs a value"},
                      UsageCase{"UnknownOption", {"extract", "--bold", "A"}, 2, "", "unknown option '--bold'"},
                      UsageCase{"MissingValue", {"extract", "A", "--font-dir"}, 2, "", "needs a value"},
                      UsageCase{"FlagWithValue", {"extract", "--split=yes", "A"}, 2, "", "takes no value"},
                      UsageCase{"EmptyValue", {"extract", "--font-dir=", "A"}, 2, "", "'--font-dir' needs a value"},
                      UsageCase{"OptionTakenForValue", {"extract", "--font-dir", "--split", "A"}, 2, "",
                                "'--font-dir' needs a value"},
                      UsageCase{"TwoTexts", {"extract", "A", "B"}, 2, "", "one TEXT"},
                      UsageCase{"SpeedWithoutSend", {"extract", "--speed", "3", "中A"}, 2, "",
                                "lumadot-cli: --speed is of use only when sending: add --send (or --frame-out FILE)\n"},
                      UsageCase{"PortWithoutSend", {"extract", "--port", "com9", "中A"}, 2, "",
                                "lumadot-cli: --port is of use only when sending"},
                      UsageCase{"ClockModeWithoutSend", {"clock", "--mode", "闪烁", "--count", "1"}, 2, "",
                                "lumadot-cli: --mode is of use only when sending"},
                      UsageCase{"DeviceWithoutSend", {"extract", "--device", "/dev/null", "中A"}, 2, "",
                                "lumadot-cli: --device is of use only when sending"},
                      // What the window's boxes would refuse is refused before anything is looked up,
                      // even with no fonts to look in.
                      UsageCase{"BaudNotANumber", {"extract", "--font-dir", "/nonexistent", "--send", "--frame-out", "f", "--baud", "abc", "中"}, 2, "",
                                "lumadot-cli: --baud takes a whole number from 1 to 2147483647, not 'abc'\n"},
                      UsageCase{"SpeedOutOfTable", {"extract", "--font-dir", "/nonexistent", "--send", "--speed", "11", "中"}, 2, "",
                                "lumadot-cli: --speed takes 1 to 10, not '11'\n"},
                      UsageCase{"ModeOutOfTable", {"extract", "--send", "--mode", "跳", "中"}, 2, "",
                                "lumadot-cli: --mode takes 静止, 左移, 右移, 上移, 下移 or 闪烁, not '跳'\n"},
                      UsageCase{"NoCreditWithTheListing", {"extract", "--no-credit", "中"}, 2, "",
                                "--no-credit goes with a source format (--format a51, as31, sdas, c51 or sdcc): the "
                                "listing keeps its credit lines"},
                      UsageCase{"UnknownOutputEncoding", {"extract", "--output-encoding", "gb2312", "中"}, 2, "",
                                "lumadot-cli: --output-encoding takes utf-8 or gbk, not 'gb2312'\n"},
                      UsageCase{"OutputEncodingOfADrawing", {"picture", "--png", "x.png", "--output-encoding", "gbk",
                                "x.gif"}, 2, "", "--output-encoding goes without --preview and --png"},
                      UsageCase{"RawBytesHoldNoText", {"extract", "--format", "hex", "--no-credit", "A"}, 0, ":10000000",
                                "lumadot-cli: note: --format hex holds no text, so --no-credit and --output-encoding "
                                "leave it as it is\n"},
                      UsageCase{"PortUpperCaseBeyondTable", {"extract", "--send", "--port", "COM17", "中"}, 2, "",
                                "lumadot-cli: --port takes com1 to com16, not 'COM17'\n"},
                      UsageCase{"DataBitsOutOfTable", {"clock", "--send", "--data-bits", "4"}, 2, "",
                                "lumadot-cli: --data-bits takes 5, 6, 7 or 8, not '4'\n"},
                      UsageCase{"ParityOutOfTable", {"extract", "--send", "--parity", "X", "中"}, 2, "",
                                "lumadot-cli: --parity takes E, M, N, O or S, not 'X'\n"},
                      UsageCase{"StopBitsOutOfTable", {"sign", "--stop-bits", "3"}, 2, "",
                                "lumadot-cli: --stop-bits takes 1, 1.5 or 2, not '3'\n"},
                      UsageCase{"PortAndDevice", {"clock", "--send", "--port", "com2", "--device", "/dev/null"}, 2,
                                "", "--port excludes --device"},
                      UsageCase{"UnknownEncoding", {"preview", "--encoding", "latin1"}, 2, "",
                                "lumadot-cli: unknown encoding 'latin1'; choose utf-8, gb2312, gbk"},
                      UsageCase{"TextFileAndText", {"extract", "--text-file", "t.txt", "A"}, 2, "", "excludes"},
                      UsageCase{"MissingTextFile", {"extract", "--text-file", "/nonexistent/t.txt"}, 1, "",
                                "lumadot-cli: cannot read /nonexistent/t.txt: No such file or directory\n"},
                      UsageCase{"ClockHelp", {"clock", "--help"}, 0, "--count N", ""},
                      UsageCase{"ClockHelpHasNoSpeed", {"clock", "--help"}, 0, "--mode MODE", ""},
                      UsageCase{"ClockTakesNoText", {"clock", "A"}, 2, "", "clock takes no TEXT"},
                      UsageCase{"ClockFixesTheSpeed", {"clock", "--speed", "3"}, 2, "", "speed 1"},
                      UsageCase{"ClockFixesTheOptions", {"clock", "--reverse"}, 2, "", "always extracts"},
                      UsageCase{"ClockFixesTheSpeedGivenInline", {"clock", "--speed=3"}, 2, "",
                                "lumadot-cli: the clock always extracts with --reverse and --split, and sends at speed 1\n"},
                      UsageCase{"ClockNamesAnUnknownOptionFirst", {"clock", "--split", "--bold"}, 2, "",
                                "lumadot-cli: unknown option '--bold'\n"},
                      UsageCase{"ClockHelpDespiteTheSpeed", {"clock", "--speed", "3", "--help"}, 0, "--count N", ""},
                      UsageCase{"HelpBesideAnUnknownOption", {"extract", "--bold", "--help"}, 2, "",
                                "lumadot-cli: unknown option '--bold'\n"},
                      UsageCase{"HelpBesideText", {"ports", "com1", "--help"}, 0, "LUMADOT_COMn", ""},
                      UsageCase{"NumberIsNoOption", {"ports", "-5"}, 2, "", "lumadot-cli: ports takes no arguments\n"},
                      UsageCase{"TextAfterDoubleDash", {"layouts", "--", "-x"}, 2, "", "layouts takes no arguments"},
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
                      UsageCase{"SignHelp", {"sign", "--help"}, 0, "--msb-first", ""},
                      UsageCase{"SignPortOutOfRange", {"sign", "--port", "com17"}, 2, "",
                                "--port takes com1 to com16, not 'com17'"},
                      UsageCase{"SignPortAndDevice", {"sign", "--port", "com2", "--device", "/dev/null"}, 2, "",
                                "excludes"},
                      UsageCase{"SignBadParity", {"sign", "--parity", "X"}, 2, "", "parity"},
                      UsageCase{"SignPrintAndGif", {"sign", "--print", "--gif", "a.gif"}, 2, "", "excludes"},
                      UsageCase{"SignNoColumns", {"sign", "--columns", "0"}, 2, "", "--columns takes a whole number"},
                      UsageCase{"SignTakesNoText", {"sign", "中A"}, 2, "", "sign takes no arguments"},
                      UsageCase{"SignMissingDevice", {"sign", "--device", "/nonexistent/tty"}, 1, "",
                                "lumadot-cli: /nonexistent/tty: "},
                      UsageCase{"SignMissingComN", {"sign", "--port", "com16"}, 1, "",
                                "com16: the system lists fewer than 16 serial ports; set LUMADOT_COM16"},
                      UsageCase{"PreviewHelp", {"preview", "--help"}, 0, "--png FILE", ""},
                      UsageCase{"PreviewTwoTexts", {"preview", "A", "B"}, 2, "", "preview takes one TEXT"},
                      UsageCase{"PreviewNoSending", {"preview", "--send", "A"}, 2, "", "unknown option '--send'"},
                      UsageCase{"PreviewScaleWithoutPng", {"preview", "--scale", "2", "A"}, 2, "",
                                "--scale goes with --png"},
                      UsageCase{"PreviewScaleTooLarge", {"preview", "--png", "x.png", "--scale", "33", "A"}, 2, "",
                                "from 1 to 32"},
                      UsageCase{"PreviewNegativeWidth", {"preview", "--width", "-1", "A"}, 2, "", "--width must be"},
                      UsageCase{"UnknownScan", {"extract", "--scan", "diagonal", "A"}, 2, "",
                                "unknown scan 'diagonal'; choose rows, row-bands, columns or column-bands"},
                      UsageCase{"SplitIsRowBands", {"preview", "--split", "--scan", "columns", "A"}, 2, "",
                                "--split is --scan row-bands, so it cannot go with --scan columns"},
                      UsageCase{"SplitWithRowBands", {"preview", "--ascii", "--split", "--scan", "row-bands", "A"}, 0,
                                "...##...", ""},
                      UsageCase{"DetectHelp", {"detect", "--help"}, 0, "TEXT [BYTES]", ""},
                      UsageCase{"DetectNoCharacter", {"detect", "", "1"}, 2, "", "TEXT must hold the characters the bytes draw"},
                      UsageCase{"DetectNothing", {"detect"}, 2, "", "TEXT"},
                      UsageCase{"LayoutsTakesNoArguments", {"layouts", "rows"}, 2, "", "layouts takes no arguments"},
                      UsageCase{"LayoutsSizeTooLarge", {"layouts", "--size", "80"}, 2, "", "not '80'"},
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
                                "unknown option '--bold'"},
                      UsageCase{"SizeTooLarge", {"extract", "--size", "65", "A"}, 2, "",
                                "lumadot-cli: --size takes N or WxH, each from 8 to 64, not '65'\n"},
                      UsageCase{"SizeHalfGiven", {"preview", "--size", "24x", "A"}, 2, "", "not '24x'"},
                      UsageCase{"SizeTooSmall", {"detect", "--size", "7x16", "中", "1"}, 2, "", "not '7x16'"},
                      UsageCase{"OtherSizeCannotBeSent", {"extract", "--size", "24", "--frame-out", "f", "中"}, 2, "",
                                "the sign shows 16-dot glyphs"},
                      UsageCase{"ClockShowsSixteen", {"clock", "--size", "24x16", "--count", "1"}, 2, "",
                                "the sign shows 16-dot glyphs"},
                      UsageCase{"UnknownCharset", {"extract", "--charset", "big5", "A"}, 2, "",
                                "unknown charset 'big5'; choose gb2312 or gbk"},
                      UsageCase{"FaceGoesWithFont", {"extract", "--face", "1", "A"}, 2, "", "--face goes with --font"},
                      UsageCase{"SizedFontFilesMissing", {"extract", "--font-dir", "/nonexistent", "--size", "24", "A"},
                                1, "", "/nonexistent/asc24"},
                      UsageCase{"SizedFontFilesHowToBuild", {"preview", "--font-dir", "/nonexistent", "--size", "24x16",
                                                             "--charset", "gbk", "A"},
                                1, "", "hint: build asc24x16 and gbk24x16 with 'lumadot-mkfont --size 24x16 --charset gbk"}),
    [](const auto& row) { return std::string(row.param.name); });

// --font draws each glyph at the size asked with no font files at all, and
// names what the font lacks; a glyph too big is scaled and counted.
TEST(CliExtract, DrawsStraightFromAFontFile) {
  const std::string mono = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
  const auto r = runProcess(kCli, {"extract", "--font-dir", "/nonexistent", "--font", mono, "--size", "24", "A中😀"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find(";--------A--------字模结构：　12*24　点阵\r\nDB  "), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("warning: 中: not in " + mono + "; each comes out blank\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("warning: 😀: not in code page 936 (GBK)"), std::string::npos) << r.err;
  const auto zenhei = runProcess(kCli, {"preview", "--ascii", "--font", "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
                                        "--size", "32", "體Wm"});
  ASSERT_EQ(zenhei.exitCode, 0) << zenhei.err;
  EXPECT_EQ(std::count(zenhei.out.begin(), zenhei.out.end(), '\n'), 32);
  EXPECT_NE(zenhei.err.find("note: 2 glyphs were larger than the cell and scaled to fit"), std::string::npos)
      << zenhei.err;
  const auto missing = runProcess(kCli, {"extract", "--font", "/nonexistent/font.ttf", "A"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("/nonexistent/font.ttf"), std::string::npos) << missing.err;
}

// Another size reads its own font files and draws its own glyphs; the
// preview shows them as tall as they are.
TEST(CliExtract, OtherSizesReadTheirOwnFontFiles) {
  test::TempDir dir;
  test::writeSyntheticFonts(dir.path(), CellSize{24, 24}, Charset::gbk);
  const auto listed = runProcess(kCli, {"extract", "--font-dir", dir.path().string(), "--size", "24", "--charset", "gbk", "體A"});
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_NE(listed.out.find(";--------體--------字模结构：　24*24　点阵\r\nDB  "), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find(";--------A--------字模结构：　12*24　点阵\r\nDB  "), std::string::npos) << listed.out;
  const auto drawn = runProcess(kCli, {"preview", "--ascii", "--font-dir", dir.path().string(), "--size", "24",
                                       "--charset", "gbk", "體A"});
  ASSERT_EQ(drawn.exitCode, 0) << drawn.err;
  EXPECT_EQ(std::count(drawn.out.begin(), drawn.out.end(), '\n'), 24);
  EXPECT_EQ(drawn.out.find('\n'), 36U);
  test::writeSyntheticFonts(dir.path(), CellSize{12, 12}, Charset::gb2312);
  const auto small = runProcess(kCli, {"preview", "--ascii", "--font-dir", dir.path().string(), "--size", "12", "中A"});
  ASSERT_EQ(small.exitCode, 0) << small.err;
  EXPECT_EQ(std::count(small.out.begin(), small.out.end(), '\n'), 12);
}

// The layouts page's maps of the four scans are what the command prints today, at 16 and at 12.
TEST(CliLayouts, TheLayoutsPageShowsWhatTheCommandPrints) {
  std::ifstream page(LUMADOT_LAYOUTS_PAGE);
  const std::string text{std::istreambuf_iterator<char>(page), {}};
  const std::pair<std::vector<std::string>, int> cases[] = {{{}, 40}, {{"--size", "12"}, 33}};
  for (const auto& [options, lines] : cases) {
    std::vector<std::string> args{"layouts"};
    std::string typed = "$ build/bin/lumadot-cli layouts";
    for (const std::string& option : options) {
      args.push_back(option);
      typed += " " + option;
    }
    const auto r = runProcess(kCli, args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), lines) << typed;
    EXPECT_NE(text.find(typed + "\n" + r.out + "```"), std::string::npos) << typed;
  }
}

// Maps too wide to pair stand one under another, each the glyph's size, the
// bytes numbered by the rules the page gives.
TEST(CliLayouts, WideSizesStandOneUnderAnother) {
  const auto r = runProcess(kCli, {"layouts", "--size", "24x16"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::string> lines;
  std::istringstream out(r.out);
  for (std::string line; std::getline(out, line);) lines.push_back(line);
  ASSERT_GE(lines.size(), 72U);
  const std::pair<std::size_t, std::string> expected[] = {
      {0, "--scan rows"},
      {1, " 0  0  0  0  0  0  0  0  1  1  1  1  1  1  1  1  2  2  2  2  2  2  2  2"},
      {16, "45 45 45 45 45 45 45 45 46 46 46 46 46 46 46 46 47 47 47 47 47 47 47 47"},
      {17, ""},
      {18, "--scan row-bands"},
      {19, " 0  0  0  0  0  0  0  0 16 16 16 16 16 16 16 16 32 32 32 32 32 32 32 32"},
      {36, "--scan columns"},
      {45, " 1  3  5  7  9 11 13 15 17 19 21 23 25 27 29 31 33 35 37 39 41 43 45 47"},
      {54, "--scan column-bands"},
      {70, "24 25 26 27 28 29 30 31 32 33 34 35 36 37 38 39 40 41 42 43 44 45 46 47"},
  };
  for (const auto& [at, line] : expected) EXPECT_EQ(lines[at], line) << "line " << at;
  std::string legend;
  for (std::size_t i = 72; i < lines.size(); ++i) legend += lines[i] + " ";
  // 12 x 16 single-byte glyphs: 2 bytes a row, 2 a column, the second cut short.
  EXPECT_NE(legend.find("12 dots wide, takes its 32 bytes (24 in the column scans)"), std::string::npos) << legend;
  EXPECT_NE(legend.find("cuts short"), std::string::npos) << legend;
}

// detect reads the bytes extract wrote in a layout, in whatever format, and
// names the layout; what it cannot judge it refuses in one line.
struct DetectCase {
  const char* name;
  std::vector<std::string> extractArgs;  // standard input is their output; empty: `input`
  std::string input;
  std::vector<std::string> detectArgs;
  int exitCode;
  std::string expected;  // the start of standard output, or a piece of standard error
};

class CliDetect : public ::testing::TestWithParam<DetectCase> {};

TEST_P(CliDetect, NamesTheLayoutOrSaysWhyNot) {
  const DetectCase& c = GetParam();
  std::string input = c.input;
  if (!c.extractArgs.empty()) {
    std::vector<std::string> args{"extract"};
    args.insert(args.end(), c.extractArgs.begin(), c.extractArgs.end());
    const auto extracted = runProcess(kCli, args);
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    input = extracted.out;
  }
  std::vector<std::string> args{"detect"};
  args.insert(args.end(), c.detectArgs.begin(), c.detectArgs.end());
  const auto r = runProcess(kCli, args, input);
  EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
  if (c.exitCode == 0) {
    EXPECT_EQ(r.out.substr(0, c.expected.size()), c.expected) << r.out;
    // The layout, 16 rows, the runner-up, and for a symmetric glyph the layouts that draw it alike.
    EXPECT_GE(std::count(r.out.begin(), r.out.end(), '\n'), 18) << r.out;
  } else {
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.expected), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliDetect,
    ::testing::Values(
        DetectCase{"Listing", {"--scan", "columns", "--lsb-first", "国"}, "", {"国"}, 0,
                   "layout: --scan columns --lsb-first\n················\n·█████████████··\n"},
        DetectCase{"C51", {"--scan", "column-bands", "--negative", "--format", "c51", "国"}, "", {"国"}, 0,
                   "layout: --scan column-bands --negative\n"},
        DetectCase{"A51Split", {"--split", "--format", "a51", "电"}, "", {"电"}, 0, "layout: --scan row-bands\n"},
        DetectCase{"Sdas", {"--format", "sdas", "--lsb-first", "--negative", "电"}, "", {"电"}, 0,
                   "layout: --scan rows --lsb-first --negative\n"},
        DetectCase{"SingleByte", {"--scan", "columns", "R"}, "", {"R"}, 0, "layout: --scan columns\n"},
        DetectCase{"Arguments", {}, "", {"A", "0,0,0,0,18H,24H,24H,42H", "42H,7EH,42H,42H,42H,42H,0,0"}, 0,
                   "layout: --scan rows\n"},
        DetectCase{"NotAByte", {}, "0x01, zz", {"国"}, 1, "cannot read 'zz' as a byte"},
        DetectCase{"Count", {}, "1,2,3", {"国"}, 1,
                   "there are 3 bytes, but the glyph of 国 takes 32 at size 16 in the row scans (rows, row-bands) and "
                   "32 in the column scans (columns, column-bands)\n"},
        DetectCase{"TwoCharacters", {}, "1", {"中A"}, 1, "there is 1 byte, but the glyphs of 中A take 48 at size 16"},
        DetectCase{"NoBytes", {}, "; nothing\n", {"国"}, 1, "no bytes"},
        DetectCase{"Blank", {}, "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0", {"A"}, 1, "the same picture in every layout"},
        DetectCase{"Symbol", {}, "1", {"、"}, 1, "、 is not a Chinese character"},
        DetectCase{"NoGlyph", {}, "1", {"😀"}, 1, "our fonts have no glyph for 😀"},
        DetectCase{"AnotherCharacter", {"中"}, "", {"国"}, 1,
                   "lumadot-cli: --scan column-bands and --scan row-bands fit the bytes almost equally well (misfit "
                   "141 and 142); give the bytes of more characters\n"},
        // Our 一 has a stroke too few to tell by: more characters, and ones with more strokes, would.
        DetectCase{"FewStrokes", {"一"}, "", {"二"}, 1, "; give the bytes of more characters, ones with more strokes\n"},
        // A font table: the glyphs of several characters, one after another.
        DetectCase{"Table", {"--scan", "columns", "--lsb-first", "--format", "c51", "--table", "欢迎光临"}, "",
                   {"欢迎光临"}, 0, "layout: --scan columns --lsb-first\n"},
        DetectCase{"TableWithSingleBytes", {"--scan", "row-bands", "--negative", "R2D2中"}, "", {"R2D2中"}, 0,
                   "layout: --scan row-bands --negative\n"},
        DetectCase{"TableOfOtherCharacters", {"欢迎光临"}, "", {"光临欢迎"}, 1, "fit the bytes almost equally well"}),
    [](const auto& row) { return std::string(row.param.name); });

// At another size the glyphs come from that size's font files, and their bytes
// are split by that size; a byte cut short by the glyph's edge still counts.
struct SizedDetectCase {
  const char* name;
  std::string size;
  std::vector<std::string> layout;  // extract's options for it
  std::string text;
  std::string expected;  // the first line printed
  int rows;              // the picture's: as the preview draws it, at least the sign's 16
};

class CliDetectSizes : public ::testing::TestWithParam<SizedDetectCase> {};

TEST_P(CliDetectSizes, JudgeByTheSizesOwnGlyphs) {
  const SizedDetectCase& c = GetParam();
  test::TempDir dir;
  test::writeSyntheticFonts(dir.path(), *CellSize::named(c.size), Charset::gb2312);
  const std::vector<std::string> fonts{"--font-dir", dir.path().string(), "--size", c.size};
  std::vector<std::string> args{"extract", "--format", "c51"};
  args.insert(args.end(), fonts.begin(), fonts.end());
  args.insert(args.end(), c.layout.begin(), c.layout.end());
  args.push_back(c.text);
  const auto extracted = runProcess(kCli, args);
  ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
  args = {"detect", "--ascii"};
  args.insert(args.end(), fonts.begin(), fonts.end());
  args.push_back(c.text);
  const auto r = runProcess(kCli, args, extracted.out);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), c.expected);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), c.rows + 2) << r.out;
  // The same bytes but one are no glyphs of TEXT at this size.
  const auto cut = runProcess(kCli, args, extracted.out.substr(0, extracted.out.find(',')) + "};");
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_NE(cut.err.find("there is 1 byte, but the glyph"), std::string::npos) << cut.err;
  EXPECT_NE(cut.err.find(" of " + c.text + " take"), std::string::npos) << cut.err;
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, CliDetectSizes,
    ::testing::Values(
        // 80 bytes in the row scans, 72 in the column scans: the count alone rules out half the layouts.
        SizedDetectCase{"TwentyFourBySixteen", "24x16", {"--scan", "columns"}, "国A", "layout: --scan columns\n", 16},
        SizedDetectCase{"TwentyFourBySixteenRowBands", "24x16", {"--split", "--lsb-first"}, "国A",
                        "layout: --scan row-bands --lsb-first\n", 16},
        SizedDetectCase{"Nine", "9", {"--scan", "column-bands", "--negative"}, "中A国",
                        "layout: --scan column-bands --negative\n", 9},
        SizedDetectCase{"ThirtyTwo", "32", {"--lsb-first"}, "电", "layout: --scan rows --lsb-first\n", 32}),
    [](const auto& row) { return std::string(row.param.name); });

// The count a TEXT's glyphs take at a size, in both scans, when the bytes are not it.
TEST(CliDetectCount, SaysWhatTheGlyphsTakeAtTheSize) {
  test::TempDir dir;
  test::writeSyntheticFonts(dir.path(), CellSize{24, 16}, Charset::gb2312);
  const auto r = runProcess(kCli, {"detect", "--font-dir", dir.path().string(), "--size", "24x16", "国A", "1,2,3"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err,
            "lumadot-cli: there are 3 bytes, but the glyphs of 国A take 80 at size 24x16 in the row scans (rows, "
            "row-bands) and 72 in the column scans (columns, column-bands)\n");
}

}  // namespace
}  // namespace lumadot
