// What the sign shows, asked the one way every program asks it.
#include "run/sign_can_show.h"

#include <gtest/gtest.h>

#include <string>

#include "run/extraction_run.h"

namespace lumadot {
namespace {

// `wide` double-byte and `narrow` single-byte glyphs of `cell`, bytes left out.
Glyphs glyphsOf(CellSize cell, int wide, int narrow) {
  Glyphs glyphs;
  glyphs.cell = cell;
  for (int i = 0; i < wide; ++i) glyphs.glyphs.push_back({u"中", -1, 0, 0});
  for (int i = 0; i < narrow; ++i) glyphs.glyphs.push_back({u"A", 'A', 0, 0});
  return glyphs;
}

using Kind = SignRefusal::Kind;

struct ShowCase {
  const char* name;
  CellSize cell;
  int wide;
  int narrow;
  std::optional<SignRefusal> refusal;
};

class SignCanShow : public ::testing::TestWithParam<ShowCase> {};

TEST_P(SignCanShow, RefusesAnySizeButSixteenThenAnyWidthPastAFrame) {
  const ShowCase& row = GetParam();
  const SignVerdict verdict = signCanShow(glyphsOf(row.cell, row.wide, row.narrow));
  EXPECT_EQ(static_cast<bool>(verdict), !row.refusal);
  EXPECT_EQ(verdict.refusal, row.refusal);
  // Before the glyphs are made, only the size can be refused.
  const bool sizeRefused = row.refusal && row.refusal->kind == Kind::glyphSize;
  EXPECT_EQ(static_cast<bool>(signCanShow(row.cell)), !sizeRefused);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SignCanShow,
    ::testing::Values(ShowCase{"Sixteen", {16, 16}, 2, 1, std::nullopt},
                      ShowCase{"NoGlyphs", {16, 16}, 0, 0, std::nullopt},
                      ShowCase{"WidestFrame", {16, 16}, 246, 1, std::nullopt},
                      ShowCase{"OneColumnPastAFrame", {16, 16}, 247, 0, SignRefusal{Kind::tooWide, {16, 16}, 494}},
                      ShowCase{"WiderSixteenHigh", {24, 16}, 1, 0, SignRefusal{Kind::glyphSize, {24, 16}, 0}},
                      ShowCase{"NarrowerSixteenHigh", {8, 16}, 1, 0, SignRefusal{Kind::glyphSize, {8, 16}, 0}},
                      ShowCase{"Taller", {16, 24}, 1, 0, SignRefusal{Kind::glyphSize, {16, 24}, 0}},
                      ShowCase{"Square24", {24, 24}, 1, 0, SignRefusal{Kind::glyphSize, {24, 24}, 0}},
                      ShowCase{"SizeBeforeWidth", {24, 24}, 300, 0, SignRefusal{Kind::glyphSize, {24, 24}, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

struct FailureCase {
  const char* name;
  SignRefusal refusal;
  std::string text;
  Cause cause;
  FailureCategory category;
};

class SignFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(SignFailure, SaysWhyInTheCoresWordsWithATypedCause) {
  const Failure failure = signFailure(GetParam().refusal);
  EXPECT_EQ(failure.text, GetParam().text);
  EXPECT_EQ(failure.detail, "");
  EXPECT_EQ(failure.kind, FailureKind::worded);
  EXPECT_EQ(failure.cause, GetParam().cause);
  EXPECT_EQ(failure.category, GetParam().category);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, SignFailure,
    ::testing::Values(
        FailureCase{"GlyphSize", {Kind::glyphSize, {24, 16}, 0},
                    "the sign shows 16-dot glyphs, so 24x16 glyphs cannot be sent",
                    Cause(CauseKind::glyphSize, {}, {24, 16}), FailureCategory::usage},
        FailureCase{"SquareGlyphSize", {Kind::glyphSize, {32, 32}, 0},
                    "the sign shows 16-dot glyphs, so 32 glyphs cannot be sent",
                    Cause(CauseKind::glyphSize, {}, {32, 32}), FailureCategory::usage},
        FailureCase{"TooWide", {Kind::tooWide, {16, 16}, 494},
                    "the text is 494 columns wide, and a frame holds at most 493 (246 Chinese characters and one "
                    "single-byte one)",
                    Cause(CauseKind::frameTooWide, {}, {494, 493}), FailureCategory::tooLarge}),
    [](const auto& row) { return std::string(row.param.name); });

// The frame is made only of glyphs the sign shows: the workbench's 24x16 glyphs are refused as the CLI refuses them.
TEST(GlyphFrame, AsksTheSignFirst) {
  const auto refused = glyphFrame(glyphsOf({24, 16}, 1, 0), 5, 0);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), signFailure({Kind::glyphSize, {24, 16}, 0}));
  const auto tooWide = glyphFrame(glyphsOf({16, 16}, 247, 0), 5, 0);
  ASSERT_FALSE(tooWide);
  EXPECT_EQ(tooWide.error().cause, Cause(CauseKind::frameTooWide, {}, {494, 493}));
  EXPECT_TRUE(glyphFrame(glyphsOf({16, 16}, 1, 0), 5, 0));
}

}  // namespace
}  // namespace lumadot
