// What every test program relies on: the caller's LUMADOT_* variables are gone
// (ctest sets LUMADOT_COM16 for each test, as a user's shell might), a
// failing row is named, not dumped, and runProcess hands a program its
// arguments, input and environment as given, on Windows as on Linux.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/named_rows.h"
#include "support/process.h"

namespace lumadot {
namespace {

using test::PrintTo;

struct LiteralRow {
  const char* name;
  std::vector<unsigned char> bytes;
};

struct StringRow {
  std::string name;
  int exitCode;
};

TEST(Hermetic, CallersVariablesAreGone) { EXPECT_EQ(std::getenv("LUMADOT_COM16"), nullptr); }

TEST(Hermetic, FailingRowsAreNamed) {
  EXPECT_EQ(testing::PrintToString(LiteralRow{"SignMissingComN", {0x2D, 0x4E}}), "SignMissingComN");
  EXPECT_EQ(testing::PrintToString(StringRow{"Gb2312CutOff", 1}), "Gb2312CutOff");
}

struct ProcessRow {
  std::string name;
  std::vector<std::string> args;
  std::string input;
  std::vector<std::string> extraEnv;
  std::string out;  // what the echo prints after the arguments
  std::string err;
  int exitCode;
};

// 200 KB of every byte value, CR LF and NUL among them: more than a pipe
// holds, echoed as it is read, so the parent must feed and drain at once.
std::string everyByte() {
  std::string bytes;
  for (int i = 0; i < 200 * 1024; ++i) bytes += static_cast<char>(i * 7 % 256);
  return bytes;
}

const ProcessRow kProcessRows[] = {
    {"PlainWords", {"a", "b"}, "", {}, "[a]\n[b]\n", "inherited", 0},
    {"Spaces", {"two words", " lead", "trail ", "\ttab"}, "", {}, "[two words]\n[ lead]\n[trail ]\n[\ttab]\n", "inherited", 0},
    {"Quotes", {"say \"hi\"", "\"", "\"\""}, "", {}, "[say \"hi\"]\n[\"]\n[\"\"]\n", "inherited", 0},
    {"Backslashes",
     {"C:\\dir\\", "a\\\\b", "\\\"", "two words\\\\", "\\"},
     "",
     {},
     "[C:\\dir\\]\n[a\\\\b]\n[\\\"]\n[two words\\\\]\n[\\]\n",
     "inherited",
     0},
    {"Chinese", {"中文", "帧 .bin", "龘"}, "", {}, "[中文]\n[帧 .bin]\n[龘]\n", "inherited", 0},
    {"EmptyArguments", {"", "x", ""}, "", {}, "[]\n[x]\n[]\n", "inherited", 0},
    {"StdinRoundTrip", {}, everyByte(), {}, everyByte(), "inherited", 0},
    {"ExitCode", {}, "", {"ECHO_EXIT=3"}, "", "inherited", 3},
    {"ExtraReplacesInherited", {}, "", {"ECHO_VARIABLE=值 with space"}, "", "值 with space", 0},
};

class RunProcess : public testing::TestWithParam<ProcessRow> {};

TEST_P(RunProcess, ChildGetsWhatWasGiven) {
  const ProcessRow& row = GetParam();
#ifdef _WIN32
  _putenv_s("ECHO_VARIABLE", "inherited");
#else
  setenv("ECHO_VARIABLE", "inherited", 1);
#endif
  const auto run = test::runProcess(LUMADOT_ECHO_CHILD_PATH, row.args, row.input, row.extraEnv);
  EXPECT_EQ(run.out.size(), row.out.size());
  EXPECT_TRUE(run.out == row.out) << run.out.substr(0, 200);
  EXPECT_EQ(run.err, row.err);
  EXPECT_EQ(run.exitCode, row.exitCode);
}

INSTANTIATE_TEST_SUITE_P(Rows, RunProcess, testing::ValuesIn(kProcessRows),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace lumadot
