// The firmware's frame reader takes from a line the whole frames that
// FrameDecoder finds in it, in the same order, and drops those a silence cuts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "frame/display_frame.h"
#include "support/firmware_frames.h"

namespace lumadot {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::FirmwareFrames;

// Bytes 1, 2, ... 255, 0, 1, ...: display bytes that are zero are data too.
Bytes glyphBytes(std::size_t count) {
  Bytes bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i + 1);
  return bytes;
}

Bytes frame(std::uint8_t width, std::size_t glyphCount, std::uint8_t speed = 5, std::uint8_t mode = 0) {
  return encodeFrame({width, speed, mode}, glyphBytes(glyphCount));
}

Bytes withoutTail(Bytes bytes) {
  bytes.resize(bytes.size() - kTailBytes);
  return bytes;
}

// The lead-in, which the sign skips, all `byte` instead of zeros.
Bytes withLeadIn(Bytes bytes, std::uint8_t byte) {
  std::fill(bytes.begin() + kHeaderBytes, bytes.begin() + static_cast<std::ptrdiff_t>(kFrameHeadBytes), byte);
  return bytes;
}

Bytes first(Bytes bytes, std::size_t count) {
  bytes.resize(count);
  return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Bytes kZeros(40, 0);

struct LineCase {
  std::string name;
  std::vector<Bytes> bursts;  // more than half a second of silence between two
  std::size_t whole;
  std::size_t dropped;
};

void PrintTo(const LineCase& row, std::ostream* out) { *out << row.name; }

class FrameReaderLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(FrameReaderLine, TakesTheDecodersWholeFramesAndDropsWhatSilenceCuts) {
  FirmwareFrames firmware;
  FrameDecoder decoder;
  FrameDecoder::Time now{0};
  for (const Bytes& burst : GetParam().bursts) {
    if (now.count() > 0) firmware.silence();
    firmware.feed(burst);
    decoder.feed(burst, now);
    now += kLineSilence + FrameDecoder::Time{1};
  }
  firmware.silence();
  decoder.finish();
  std::size_t cutOff = 0;
  const auto expected = test::wholeFrames(decoder.takeFrames(), &cutOff);
  EXPECT_EQ(firmware.whole(), expected);
  EXPECT_EQ(firmware.whole().size(), GetParam().whole);
  EXPECT_EQ(firmware.dropped(), cutOff);
  EXPECT_EQ(firmware.dropped(), GetParam().dropped);
  EXPECT_TRUE(firmware.indexesInOrder());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FrameReaderLine,
    ::testing::Values(
        LineCase{"NothingButZeros", {kZeros}, 0, 0},
        LineCase{"NarrowestFrame", {frame(8, 0)}, 1, 0},
        LineCase{"SeveralWidthsWithZerosBetween",
                 {kZeros + frame(9, 32, 1, 1) + frame(10, 50, 10, 5) + kZeros + frame(20, 384, 3, 2)}, 3, 0},
        LineCase{"WidestFrame", {frame(255, 7904, 0, 9)}, 1, 0},
        // Speed and mode come from the header alone, not the lead-in's bytes after it.
        LineCase{"LeadInThatIsNotZero", {withLeadIn(frame(9, 32, 4, 3), 0x77) + withLeadIn(frame(8, 0, 9, 1), 2)}, 2, 0},
        LineCase{"NonZeroByteInTheTailStartsTheNext", {withoutTail(frame(9, 32)) + Bytes{0, 0} + frame(11, 96)}, 2, 0},
        LineCase{"NextFrameRightAfterTheLastDisplayByte", {withoutTail(frame(12, 128)) + frame(9, 32)}, 2, 0},
        // Width 7 has no display bytes: the first glyph byte after its head starts a frame of width 1.
        LineCase{"WidthBelowEightTakesNoDisplayBytes", {frame(7, 16, 12, 7) + frame(1, 0)}, 3, 0},
        LineCase{"SilenceInTheHeadDropsTheFrame", {first(frame(12, 128), 100), frame(9, 32)}, 1, 1},
        LineCase{"SilenceInTheDisplayBytesDropsTheFrame", {first(frame(10, 64), 300), frame(10, 64)}, 1, 1},
        // The last display byte alone after a silence is a width byte, whose frame never comes.
        LineCase{"SilenceBeforeTheLastDisplayByte",
                 {first(frame(9, 32), 287), Bytes{32}, frame(8, 0)}, 1, 2},
        LineCase{"SilenceInTheTailDropsNothing", {withoutTail(frame(9, 32)), kZeros + frame(10, 64)}, 2, 0},
        LineCase{"BytesAfterSilenceStartAFrame", {kZeros, frame(9, 32), kZeros, frame(255, 7904, 10, 1)}, 2, 0}),
    [](const auto& row) { return row.param.name; });

struct SentCase {
  int columns;
  std::uint8_t speed, mode;
};

class FrameReaderSent : public ::testing::TestWithParam<SentCase> {};

// The sender's glyph bytes come back as display bytes, then the zeros its rounded-up width reads.
TEST_P(FrameReaderSent, TakesWhatTheSenderSent) {
  const auto fields = frameFields(GetParam().columns, GetParam().speed, GetParam().mode);
  ASSERT_TRUE(fields);
  const Bytes glyphs = glyphBytes(static_cast<std::size_t>(GetParam().columns) * 16);
  FirmwareFrames firmware;
  firmware.feed(encodeFrame(*fields, glyphs) + encodeFrame(*fields, glyphs));
  Bytes display = glyphs;
  display.resize(displayBytesFor(fields->width));
  const test::TakenFrame sent{fields->width, GetParam().speed, GetParam().mode, display};
  EXPECT_EQ(firmware.whole(), (std::vector{sent, sent}));
  EXPECT_TRUE(firmware.indexesInOrder());
}

INSTANTIATE_TEST_SUITE_P(Widths, FrameReaderSent,
                         ::testing::Values(SentCase{0, 1, 0}, SentCase{1, 5, 1}, SentCase{3, 10, 5},
                                           SentCase{100, 7, 3}, SentCase{493, 2, 4}),
                         [](const auto& row) { return "Columns" + std::to_string(row.param.columns); });

}  // namespace
}  // namespace lumadot
