// firmware/board.h's fit checks, as sdcc meets them: a board whose scan
// cannot keep its refresh on its crystal does not build, and says how many
// modules or columns it can scan and what else would do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/installed_program.h"
#include "support/process.h"

namespace lumadot::test {
namespace {

struct FitCase {
  const char* name;
  std::vector<std::string> options;
  const char* fits = nullptr;     // what the scan fits; none when the board builds
  const char* wouldDo = nullptr;  // what else would do
};

void PrintTo(const FitCase& row, std::ostream* out) { *out << row.name; }

class BoardFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(BoardFit, BuildsOrSaysWhatFits) {
  TempDir dir;
  writeFile(dir.path() / "board.c", "#include \"board.h\"\n");
  std::vector<std::string> args = {"-mmcs51", "-I" LUMADOT_FIRMWARE_DIR, "-I" LUMADOT_SOURCE_DIR};
  args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
  args.insert(args.end(), {"-c", (dir.path() / "board.c").string(), "-o", (dir.path() / "board.rel").string()});
  const auto r = runProcess(installedProgram("sdcc"), args);
  const std::string said = r.out + r.err;
  if (!GetParam().fits) {
    EXPECT_EQ(r.exitCode, 0) << said;
    EXPECT_EQ(said.find("error"), std::string::npos) << said;
    return;
  }
  EXPECT_NE(r.exitCode, 0) << said;
  EXPECT_NE(said.find(std::string("#error \"at this crystal, REFRESH_MS and CORE_SPEED ") + GetParam().fits + "\""), std::string::npos)
      << said;
  EXPECT_NE(said.find(std::string("#error \"") + GetParam().wouldDo + " would do\""), std::string::npos) << said;
}

const char* const k11MHz = "-DXTAL_HZ=11059200UL";
const char* const kHub12 = "-DPANEL_HUB12=1";
const char* const kAnyWay = "REFRESH_MS=20, a 22.1184 MHz crystal or a 1T part (which runs the same image faster)";

INSTANTIATE_TEST_SUITE_P(
    Crystals, BoardFit,
    ::testing::Values(
        FitCase{"P10TwoAt11MHz", {k11MHz, kHub12, "-DPANEL_COLUMNS=64"}},
        FitCase{"P10FourAt11MHz", {k11MHz, kHub12, "-DPANEL_COLUMNS=128"}, "the scan fits at most 2 P10 modules (64 columns)", kAnyWay},
        FitCase{"P10EightAt11MHz20ms", {k11MHz, kHub12, "-DPANEL_COLUMNS=256"}, "the scan fits at most 4 P10 modules (128 columns)",
                "a 22.1184 MHz crystal or a 1T part (which runs the same image faster)"},
        FitCase{"P10EightAt11MHz10ms", {k11MHz, kHub12, "-DPANEL_COLUMNS=256", "-DREFRESH_MS=10"},
                "the scan fits at most 2 P10 modules (64 columns)",
                "REFRESH_MS=20 with a 22.1184 MHz crystal, or a 1T part (which runs the same image faster)"},
        FitCase{"P10FourAt11MHzTwiceAsFast", {k11MHz, kHub12, "-DPANEL_COLUMNS=128", "-DCORE_SPEED=2"}},
        FitCase{"P10EightAt11MHz10msTwiceAsFast", {k11MHz, kHub12, "-DPANEL_COLUMNS=256", "-DREFRESH_MS=10", "-DCORE_SPEED=2"},
                "the scan fits at most 4 P10 modules (128 columns)", "REFRESH_MS=20 or a 22.1184 MHz crystal"},
        FitCase{"Rows128At11MHz", {k11MHz, "-DPANEL_COLUMNS=128"}, "the row scan fits fewer than 64 columns, the narrowest panel", kAnyWay},
        FitCase{"Rows128TwoLinesAt11MHz", {k11MHz, "-DPANEL_COLUMNS=128", "-DTWO_DATA_LINES=1"}, "the row scan fits at most 64 columns", kAnyWay},
        FitCase{"Rows256At10ms", {"-DPANEL_COLUMNS=256", "-DREFRESH_MS=10"}, "the row scan fits at most 128 columns",
                "REFRESH_MS=20 or a 1T part (which runs the same image faster)"},
        FitCase{"Rows256At11MHz20ms", {k11MHz, "-DPANEL_COLUMNS=256"}, "the row scan fits at most 128 columns",
                "a 22.1184 MHz crystal or a 1T part (which runs the same image faster)"},
        FitCase{"Rows128At11MHz20ms", {k11MHz, "-DPANEL_COLUMNS=128", "-DREFRESH_MS=20"}},
        FitCase{"Rows128At11MHzTwiceAsFast", {k11MHz, "-DPANEL_COLUMNS=128", "-DCORE_SPEED=2"}},
        FitCase{"Rows128Line8N1", {"-DPANEL_COLUMNS=128", "-DLINE_8N1=1"}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot::test
