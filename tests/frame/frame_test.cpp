// What our sender encodes, the sign decodes: one definition of the frame on both sides.
#include "frame/display_frame.h"

#include <gtest/gtest.h>

#include "extract/text_codec.h"
#include "frame/frame_decoder.h"

namespace lumadot {
namespace {

struct WidthCase {
  int columns;
  std::uint8_t width;
};

class FrameRoundTrip : public ::testing::TestWithParam<WidthCase> {};

// Glyph bytes fill the columns the width byte calls for, as far as the text
// has them; the tail's first bytes stand in for the rest.
TEST_P(FrameRoundTrip, EveryModeAndSpeedComesBackAsSent) {
  const std::size_t glyphCount = static_cast<std::size_t>(GetParam().columns) * 16;
  std::vector<std::uint8_t> glyphs(glyphCount);
  for (std::size_t i = 0; i < glyphs.size(); ++i) glyphs[i] = static_cast<std::uint8_t>(i % 251 + 1);
  for (int mode = 0; mode <= kLastMode; ++mode) {
    for (int speed = kSlowestSpeed; speed <= kFastestSpeed; ++speed) {
      const auto fields = frameFields(GetParam().columns, static_cast<std::uint8_t>(speed), static_cast<std::uint8_t>(mode));
      ASSERT_TRUE(fields);
      ASSERT_EQ(fields->width, GetParam().width);
      const auto bytes = encodeFrame(*fields, glyphs);
      ASSERT_EQ(bytes.size(), kFrameOverhead + glyphCount);
      const auto frames = decodeFrames(bytes);
      ASSERT_EQ(frames.size(), 1u) << "mode " << mode << ", speed " << speed;
      const ReceivedFrame& frame = frames[0];
      EXPECT_TRUE(frame.complete());
      EXPECT_EQ(frame.warnings, std::vector<FrameWarning>{});
      EXPECT_EQ(frame.width(), GetParam().width);
      EXPECT_EQ(frame.speed(), speed);
      EXPECT_EQ(frame.mode(), mode);
      const auto display = frame.display();
      ASSERT_EQ(display.size(), displayBytesFor(GetParam().width));
      ASSERT_GE(display.size(), glyphs.size());
      EXPECT_TRUE(std::equal(glyphs.begin(), glyphs.end(), display.begin()));
      EXPECT_TRUE(std::all_of(display.begin() + static_cast<std::ptrdiff_t>(glyphs.size()), display.end(),
                              [](std::uint8_t b) { return b == 0; }));
      EXPECT_EQ(frame.tail, kFrameOverhead + glyphCount - kFrameHeadBytes - display.size());
      EXPECT_GE(frame.tail, kShortestTail);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, FrameRoundTrip,
                         ::testing::Values(WidthCase{0, 8}, WidthCase{1, 9}, WidthCase{2, 10}, WidthCase{3, 10},
                                           WidthCase{492, 254}, WidthCase{493, 255}),
                         [](const auto& row) { return "Columns" + std::to_string(row.param.columns); });

// The bytes on the line, counted out by hand: the sign's firmware is built from
// the same numbers, so a change to them must show here first.
struct WireCase {
  int columns;
  std::uint8_t width;
  std::size_t frameBytes;    // header, lead-in, glyph bytes, tail
  std::size_t displayBytes;  // what the sign reads after the 256 head bytes
};

class FrameOnTheLine : public ::testing::TestWithParam<WireCase> {};

TEST_P(FrameOnTheLine, HeaderLeadInGlyphsAndTailLieWhereTheSignReadsThem) {
  const std::size_t glyphCount = static_cast<std::size_t>(GetParam().columns) * 16;
  const std::vector<std::uint8_t> glyphs(glyphCount, 0xC3);
  const auto fields = frameFields(GetParam().columns, 7, 4);
  ASSERT_TRUE(fields);
  const auto bytes = encodeFrame(*fields, glyphs);
  ASSERT_EQ(bytes.size(), GetParam().frameBytes);
  EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 3)), (std::vector<std::uint8_t>{GetParam().width, 7, 4}));
  EXPECT_EQ(std::count(bytes.begin() + 3, bytes.begin() + 256, 0), 253);
  EXPECT_EQ(std::count(bytes.begin() + 256, bytes.end() - 289, 0xC3), static_cast<std::ptrdiff_t>(glyphCount));
  EXPECT_EQ(std::count(bytes.end() - 289, bytes.end(), 0), 289);
  EXPECT_EQ(displayBytesFor(GetParam().width), GetParam().displayBytes);
}

INSTANTIATE_TEST_SUITE_P(Widths, FrameOnTheLine,
                         ::testing::Values(WireCase{0, 8, 545, 0}, WireCase{1, 9, 561, 32}, WireCase{3, 10, 593, 64},
                                           WireCase{493, 255, 8433, 7904}),
                         [](const auto& row) { return "Columns" + std::to_string(row.param.columns); });

TEST(FrameFields, RefuseATextWiderThanAnyFrame) {
  const auto fields = frameFields(494, 5, 0);
  ASSERT_FALSE(fields);
  EXPECT_EQ(fields.error().text,
            "the text is 494 columns wide, and a frame holds at most 493 (246 Chinese characters and one single-byte one)");
}

TEST(WidthByte, RoundsHalfToEvenAndRefusesOverflow) {
  const std::pair<int, int> table[] = {{0, 8},  {1, 9},   {2, 10},  {3, 10},  {4, 10},  {5, 11},
                                       {6, 12}, {7, 12},  {8, 12},  {9, 13},  {10, 14}, {492, 254},
                                       {493, 255}};
  for (const auto& [columns, width] : table) {
    EXPECT_EQ(widthByte(columns), std::optional<std::uint8_t>(width)) << columns << " columns";
  }
  for (const int columns : {494, 495, 4096, -1}) EXPECT_EQ(widthByte(columns), std::nullopt) << columns;
}

TEST(SpeedAndModeBytes, MatchWholeTextsOnly) {
  for (int speed = 1; speed <= 10; ++speed) {
    EXPECT_EQ(speedByte(utf8ToUtf16(std::to_string(speed))), std::optional<std::uint8_t>(speed));
  }
  for (const std::u16string_view text : {u"0", u"11", u" 5", u"5 ", u"05", u"", u"５"}) {
    EXPECT_EQ(speedByte(text), std::nullopt) << utf16ToUtf8(text);
  }
  const std::u16string_view modes[] = {u"静止", u"左移", u"右移", u"上移", u"下移", u"闪烁"};
  for (std::size_t i = 0; i < std::size(modes); ++i) {
    EXPECT_EQ(modeByte(modes[i]), std::optional<std::uint8_t>(i));
    EXPECT_EQ(modeName(static_cast<std::uint8_t>(i)), modes[i]);
  }
  EXPECT_EQ(modeName(6), std::nullopt);
  for (const std::u16string_view text : {u"静止 ", u"静", u"0", u""}) EXPECT_EQ(modeByte(text), std::nullopt);
}

}  // namespace
}  // namespace lumadot
