// lumadot-cli clock as a user runs it beside the sign: real runs, frames
// written to a file or a pseudo-terminal. When the ticks fall is the tick
// timer's, on a stepped clock in tick_timer_test.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/pseudo_terminal.h"

namespace lumadot {
namespace {

using test::runProcess;

const std::filesystem::path kCli = LUMADOT_CLI_PATH;

// A clock's standard output split into its runs' listings.
std::vector<std::string> listings(const std::string& out) {
  const std::string end = runProcess(kCli, {"extract", ""}).out + "\r\n";  // the credit block, then CR LF
  std::vector<std::string> runs;
  for (std::size_t from = 0, at = 0; (at = out.find(end, from)) != std::string::npos; from = at + end.size()) {
    runs.push_back(out.substr(from, at + end.size() - from));
  }
  return runs;
}

// The text a listing was made from, read back from its entries' headers.
std::string listedText(const std::string& listing) {
  const std::string open = "\r\n;--------", close = "--------字模结构";
  std::string text;
  for (std::size_t at = 0; (at = listing.find(open, at)) != std::string::npos;) {
    at += open.size();
    const std::size_t stop = listing.find(close, at);
    text += listing.substr(at, stop - at);
    at = stop;
  }
  return text;
}

std::size_t glyphByteCount(const std::string& listing) {
  std::size_t count = 0;
  for (std::size_t at = 0; (at = listing.find("H,", at)) != std::string::npos; at += 2) ++count;
  return count;
}

// Two runs, a tick apart, each the frame extract gives for the sentence with
// both options on, at speed 1.
TEST(CliClock, TwoRunsSendTwoFramesAtSpeedOne) {
  test::TempDir dir;
  const auto file = dir.path() / "clock.bin";
  const auto r = runProcess(kCli, {"clock", "--count", "2", "--locale", "C", "--frame-out", file.string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string wrote = "lumadot-cli: wrote ";  // a frame per run, no port used
  EXPECT_EQ(r.err.find(wrote), 0u) << r.err;
  EXPECT_NE(r.err.find(" bytes to " + file.string() + "\n" + wrote), std::string::npos) << r.err;

  const auto runs = listings(r.out);
  ASSERT_EQ(runs.size(), 2u) << r.out;
  const std::string frames = test::readFile(file);
  std::size_t offset = 0;
  for (const std::string& listing : runs) {
    const std::string sentence = listedText(listing);
    ASSERT_EQ(sentence.rfind("今天是", 0), 0u) << sentence;
    EXPECT_NE(sentence.find("(星期"), std::string::npos) << sentence;
    EXPECT_NE(sentence.find(")现在时间"), std::string::npos) << sentence;

    const std::size_t size = 545 + glyphByteCount(listing);
    ASSERT_LE(offset + size, frames.size());
    const std::string frame = frames.substr(offset, size);
    EXPECT_EQ(frame[1], '\x01');  // speed byte
    const auto single = dir.path() / "single.bin";
    const auto extract = runProcess(
        kCli, {"extract", "--reverse", "--split", "--speed", "1", "--frame-out", single.string(), "--", sentence});
    EXPECT_EQ(extract.out + "\r\n", listing);
    EXPECT_EQ(test::readFile(single), frame);
    offset += size;
  }
  EXPECT_EQ(offset, frames.size());
}

// Beside a sign, until Ctrl+C, pressed once the first run has said it sent:
// the clock stops without waiting for its next tick.
TEST(CliClock, CtrlCStopsTheClock) {
  test::PseudoTerminal sign;
  const auto r = test::runWatchedProcess(kCli, {"clock", "--quiet", "--send"},
                                         {"LUMADOT_COM1=" + sign.path(), "LC_ALL=C"},
                                         [](const test::ProcessResult& soFar) { return soFar.err.ends_with("\n"); });
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "");  // --quiet: the messages only
  EXPECT_EQ(r.err.rfind("系统提示: 使用串口com1共发送", 0), 0u) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
  const auto frame = sign.receivedAll();
  ASSERT_GT(frame.size(), 545u);
  EXPECT_EQ(frame[1], 1);
}

// Today as strftime writes it with `format`.
std::string today(const char* format) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  return std::string(text, std::strftime(text, sizeof text, format, &local));
}

// With no real locale the date is written as in China, the sentence's own
// language; a real locale, or one named with --locale, is kept.
TEST(CliClock, WritesTheDateAsChinaDoesWithoutALocale) {
  const struct {
    std::vector<std::string> env, args;
    const char* date;  // strftime's format
  } rows[] = {{{"LC_ALL=C"}, {}, "%Y/%-m/%-d"},
              {{"LC_ALL=POSIX"}, {}, "%Y/%-m/%-d"},
              {{"LC_ALL=", "LC_TIME=", "LANG=C"}, {}, "%Y/%-m/%-d"},
              {{"LC_ALL=de_DE.UTF-8"}, {}, "%d.%m.%y"},
              {{"LC_ALL=C"}, {"--locale", "C"}, "%-d %b %Y"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.env.back() + (row.args.empty() ? "" : " " + row.args.back()));
    const std::string before = today(row.date);
    std::vector<std::string> args{"clock", "--count", "1"};
    args.insert(args.end(), row.args.begin(), row.args.end());
    const auto r = runProcess(kCli, args, {}, row.env);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto runs = listings(r.out);
    ASSERT_EQ(runs.size(), 1u) << r.out;
    const std::string sentence = listedText(runs[0]);
    std::smatch date;
    ASSERT_TRUE(std::regex_match(sentence, date, std::regex(R"(今天是(.+)\(星期.+\)现在时间\d\d:\d\d:\d\d)")))
        << sentence;
    EXPECT_TRUE(date[1] == before || date[1] == today(row.date)) << sentence;
  }
}

// A port that cannot be opened warns on every run; the clock goes on, and the exit status tells.
TEST(CliClock, FailedRunsDoNotStopIt) {
  const auto r = runProcess(kCli, {"clock", "--count", "2", "--quiet", "--send"}, {}, {"LUMADOT_COM1=/nonexistent/ttyX"});
  EXPECT_EQ(r.exitCode, 1);
  const std::string warning = "警告: 串口com1打开失败，可能正在使用中\nlumadot-cli: com1 (/nonexistent/ttyX): ";
  EXPECT_EQ(r.err.find(warning), 0u) << r.err;
  EXPECT_NE(r.err.find("\n" + warning), std::string::npos) << r.err;
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 4);
}

}  // namespace
}  // namespace lumadot
