// The window programs started where there is no display: what needs none is answered, the rest refused in a line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/version.h"
#include "support/named_rows.h"
#include "support/process.h"

namespace lumadot {
namespace {

using test::PrintTo;

const std::string kNoDisplay = ": no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); ";

struct StartCase {
  const char* name;
  std::string program;
  std::vector<std::string> args;
  int exitCode;
  std::string out;  // standard output starts with this, and is all of it unless `outContinues`
  bool outContinues;
  std::string err;
};

std::string programPath(const std::string& program) { return std::string(LUMADOT_BIN_DIR) + "/" + program; }

class WindowProgramWithoutDisplay : public testing::TestWithParam<StartCase> {};

TEST_P(WindowProgramWithoutDisplay, AnswersOrSaysWhyNot) {
  const StartCase& start = GetParam();
  const test::TempDir runtimeDir;  // for the one case that does make a QApplication, so Qt has nothing to warn of
  std::vector<std::string> args = {"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM",
                                   "XDG_RUNTIME_DIR=" + runtimeDir.path().string(), programPath(start.program)};
  args.insert(args.end(), start.args.begin(), start.args.end());
  const test::ProcessResult r = test::runProcess("/usr/bin/env", args);
  EXPECT_EQ(r.exitCode, start.exitCode) << r.err;
  if (start.outContinues) {
    EXPECT_EQ(r.out.substr(0, start.out.size()), start.out) << r.out;
  } else {
    EXPECT_EQ(r.out, start.out);
  }
  EXPECT_EQ(r.err, start.err);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowProgramWithoutDisplay,
    testing::Values(
        StartCase{"MainHelp", "lumadot", {"--help"}, 0, "Usage: " + programPath("lumadot") + " [options]\n", true, ""},
        StartCase{"MainVersion", "lumadot", {"--version"}, 0, "lumadot " LUMADOT_VERSION "\n", false, ""},
        StartCase{"MainWithoutOptions", "lumadot", {}, 1, "", false,
                  "lumadot" + kNoDisplay + "lumadot-cli works without one\n"},
        StartCase{"MainWithFontDir", "lumadot", {"--font-dir", "/tmp"}, 1, "", false,
                  "lumadot" + kNoDisplay + "lumadot-cli works without one\n"},
        StartCase{"MainUnknownOption", "lumadot", {"--bogus"}, 1, "", false, "lumadot: Unknown option 'bogus'.\n"},
        StartCase{"MainFontDirWithoutValue", "lumadot", {"--font-dir"}, 1, "", false,
                  "lumadot: Missing value after '--font-dir'.\n"},
        // Qt's own options still reach Qt: -platform names a window system as QT_QPA_PLATFORM does.
        StartCase{"MainPlatformOption", "lumadot", {"-platform", "offscreen", "--version"}, 0,
                  "lumadot " LUMADOT_VERSION "\n", false, ""},
        StartCase{"SignHelp", "lumadot-sign", {"--help"}, 0, "Usage: " + programPath("lumadot-sign") + " [options]\n",
                  true, ""},
        StartCase{"SignVersion", "lumadot-sign", {"--version"}, 0, "lumadot-sign " LUMADOT_VERSION "\n", false, ""},
        StartCase{"SignWithoutOptions", "lumadot-sign", {}, 1, "", false,
                  "lumadot-sign" + kNoDisplay + "lumadot-cli sign works without one\n"},
        StartCase{"SignUnknownOption", "lumadot-sign", {"--font-dir", "/tmp"}, 1, "", false,
                  "lumadot-sign: Unknown option 'font-dir'.\n"},
        // --columns is lumadot-cli sign's, refused in its words before the display is looked for.
        StartCase{"SignColumnsTaken", "lumadot-sign", {"--columns", "64"}, 1, "", false,
                  "lumadot-sign" + kNoDisplay + "lumadot-cli sign works without one\n"},
        StartCase{"SignColumnsZero", "lumadot-sign", {"--columns", "0"}, 1, "", false,
                  "lumadot-sign: --columns takes a whole number from 1 to 4096, not '0'\n"},
        StartCase{"SignColumnsPastTheWidest", "lumadot-sign", {"--columns=4097"}, 1, "", false,
                  "lumadot-sign: --columns takes a whole number from 1 to 4096, not '4097'\n"},
        StartCase{"SignColumnsNoNumber", "lumadot-sign", {"--columns", "64x"}, 1, "", false,
                  "lumadot-sign: --columns takes a whole number from 1 to 4096, not '64x'\n"},
        StartCase{"SignColumnsWithoutValue", "lumadot-sign", {"--columns"}, 1, "", false,
                  "lumadot-sign: Missing value after '--columns'.\n"},
        StartCase{"SignColumnsWithPlatform", "lumadot-sign", {"-platform", "offscreen", "--columns", "0"}, 1, "", false,
                  "lumadot-sign: --columns takes a whole number from 1 to 4096, not '0'\n"},
        // The workbench reads extract's options the CLI's way, and ends as the others do.
        StartCase{"WorkbenchHelp", "lumadot-workbench", {"--help"}, 0, "Usage: lumadot-workbench [--scan SCAN]", true,
                  ""},
        StartCase{"WorkbenchVersion", "lumadot-workbench", {"--version"}, 0, "lumadot-workbench " LUMADOT_VERSION "\n",
                  false, ""},
        StartCase{"WorkbenchWithoutOptions", "lumadot-workbench", {}, 1, "", false,
                  "lumadot-workbench" + kNoDisplay + "lumadot-cli works without one\n"},
        StartCase{"WorkbenchWithOptionsAndText", "lumadot-workbench", {"--format", "c51", "中A"}, 1, "", false,
                  "lumadot-workbench" + kNoDisplay + "lumadot-cli works without one\n"},
        StartCase{"WorkbenchPlatformOption", "lumadot-workbench", {"-platform", "offscreen", "--version"}, 0,
                  "lumadot-workbench " LUMADOT_VERSION "\n", false, ""}),
    [](const testing::TestParamInfo<StartCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot
