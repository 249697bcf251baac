// How a failure ends lumadot-cli and how a window's box looks: from its category alone.
#include <gtest/gtest.h>

#include <string>

#include "base/result.h"
#include "message/message.h"

namespace lumadot {
namespace {

struct KindCase {
  const char* name;
  FailureKind kind;
  FailureCategory category;
  int exit;
};

class FailureKinds : public ::testing::TestWithParam<KindCase> {};

TEST_P(FailureKinds, FallInOneCategoryWhichTellsTheExitAndTheIcon) {
  const Failure failure = Failure("what failed", "why").as(GetParam().kind, "com1");
  EXPECT_EQ(failure.category, GetParam().category);
  EXPECT_EQ(exitStatus(failure.category), GetParam().exit);
  EXPECT_EQ(warningMessage(failure).icon, MessageIcon::warning);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FailureKinds,
    ::testing::Values(KindCase{"Worded", FailureKind::worded, FailureCategory::input, 1},
                      KindCase{"SendPort", FailureKind::sendPort, FailureCategory::port, 1},
                      KindCase{"ListenPort", FailureKind::listenPort, FailureCategory::port, 1},
                      KindCase{"PortLost", FailureKind::portLost, FailureCategory::port, 1},
                      KindCase{"PortName", FailureKind::portName, FailureCategory::port, 1},
                      KindCase{"LineSettings", FailureKind::lineSettings, FailureCategory::port, 1},
                      KindCase{"SpeedBox", FailureKind::speedBox, FailureCategory::input, 1},
                      KindCase{"ModeBox", FailureKind::modeBox, FailureCategory::input, 1},
                      KindCase{"FileWrite", FailureKind::fileWrite, FailureCategory::file, 1},
                      KindCase{"PictureRead", FailureKind::pictureRead, FailureCategory::file, 1},
                      KindCase{"TextTooLong", FailureKind::textTooLong, FailureCategory::tooLarge, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(FailureCategories, OnlyUsageEndsWithTwo) {
  const std::pair<FailureCategory, int> table[] = {{FailureCategory::usage, 2},    {FailureCategory::input, 1},
                                                   {FailureCategory::font, 1},     {FailureCategory::file, 1},
                                                   {FailureCategory::port, 1},     {FailureCategory::tooLarge, 1}};
  for (const auto& [category, exit] : table) {
    EXPECT_EQ(exitStatus(category), exit) << static_cast<int>(category);
    EXPECT_EQ(iconOf(category), MessageIcon::warning) << static_cast<int>(category);
  }
}

TEST(FailureCategories, AreKeptWhereAFailureIsPlacedOrToldAgain) {
  const Failure font = Failure("无法打开字库文件“hzk16”").in(FailureCategory::font);
  EXPECT_EQ(failureAt("/dev/ttyS0", font).category, FailureCategory::font);
  // Told as a kind, a failure takes the kind's category.
  EXPECT_EQ(failureOver("cannot write f", FailureKind::fileWrite, "f", font).category, FailureCategory::file);
  EXPECT_EQ(Failure("plain").category, FailureCategory::input);
}

}  // namespace
}  // namespace lumadot
