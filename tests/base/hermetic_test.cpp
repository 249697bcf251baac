// What every test program relies on: the caller's LUMADOT_* variables are gone
// (ctest sets LUMADOT_COM16 for each test, as a user's shell might), and a
// failing row is named, not dumped.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/named_rows.h"

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

}  // namespace
}  // namespace lumadot
