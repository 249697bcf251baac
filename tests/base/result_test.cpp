#include "base/result.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

namespace lumadot {
namespace {

// A Result asked for what it does not hold throws rather than reading the
// wrong alternative, so a caller's slip never turns into undefined behaviour.
TEST(Result, HoldsOneOfValueAndFailureAndRefusesTheOther) {
  const Result<std::string> made = std::string("glyphs");
  ASSERT_TRUE(made);
  EXPECT_EQ(*made, "glyphs");
  EXPECT_EQ(made->size(), 6u);
  EXPECT_THROW(static_cast<void>(made.error()), std::bad_variant_access);

  const Result<std::string> failed = Failure("cannot write x", "No space left on device");
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error(), Failure("cannot write x", "No space left on device"));
  EXPECT_THROW(static_cast<void>(failed.value()), std::bad_variant_access);

  const Result<void> done;
  EXPECT_TRUE(done);
  EXPECT_THROW(static_cast<void>(done.error()), std::bad_optional_access);
  const Result<void> stopped = Failure("stopped");
  EXPECT_EQ(stopped.error().text, "stopped");
  EXPECT_EQ(stopped.error().detail, "");
}

}  // namespace
}  // namespace lumadot
