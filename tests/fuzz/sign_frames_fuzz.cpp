// Any bytes off a serial line, in chunks that arrive with fuzzed pauses, read
// as the sign reads them: every non-zero byte lands in a frame, no frame is
// longer than its width byte asks, and each whole frame plays on a panel of
// any width, its effect's cycle making a GIF.

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "preview/gif_animation.h"
#include "frame/frame_decoder.h"
#include "sign/frame_report.h"
#include "sign/sign_player.h"

namespace lumadot::fuzz {
namespace {

constexpr long kMostGifDots = 1L << 16;  // dots over a whole cycle, to keep runs quick

void checkFrame(const ReceivedFrame& frame) {
  FUZZ_EXPECT(!frame.bytes.empty() && frame.width() != 0);
  FUZZ_EXPECT(frame.expected == kFrameHeadBytes + displayBytesFor(frame.width()));
  FUZZ_EXPECT(frame.bytes.size() <= frame.expected);
  FUZZ_EXPECT(frame.complete() || frame.tail == 0);
  FUZZ_EXPECT(frameSummary(frame, 1).starts_with("frame 1: "));
  for (const FrameWarning& warning : frame.warnings) FUZZ_EXPECT(warningText(warning).find(": ") != std::string::npos);
}

void play(const ReceivedFrame& frame, FuzzedDataProvider& in) {
  const SignPlayer player(frame, {in.ConsumeIntegralInRange(1, 300), in.ConsumeBool()});
  FUZZ_EXPECT(player.message().width() * 2 == static_cast<int>(frame.display().size()));
  const int columns = player.panel(0).width();
  FUZZ_EXPECT(player.steps() >= 1 && player.stepTime().count() >= 10);
  const auto step = in.ConsumeIntegral<int>();
  FUZZ_EXPECT(player.panel(step) == player.panel(static_cast<long long>(step) + player.steps()));
  FUZZ_EXPECT(player.stepAt(player.stepTime() * 3) == 3);
  if (static_cast<long>(player.steps()) * columns > kMostGifDots) return;
  const auto cycle = effectCycle(player, std::chrono::milliseconds(20));
  FUZZ_EXPECT(!cycle.empty() && cycle.size() <= static_cast<std::size_t>(player.steps()));
  const auto gif = gifAnimation(cycle, in.ConsumeIntegralInRange(1, 4));
  FUZZ_EXPECT(gif.has_value() && gif->starts_with("GIF89a"));
}

}  // namespace

void fuzzInput(FuzzedDataProvider& in) {
  FrameDecoder decoder;
  std::chrono::milliseconds now{0};
  std::size_t nonZero = 0;
  std::vector<ReceivedFrame> frames;
  while (in.remaining_bytes() > 0) {
    now += std::chrono::milliseconds(in.ConsumeIntegralInRange(0, 700));
    // A chunk grows with its run of a repeated byte, so the widest frames come up.
    std::vector<std::uint8_t> chunk = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(1, 64));
    chunk.resize(chunk.size() + scaledCount(in, 9000), chunk.empty() ? 0 : chunk.back());
    nonZero += static_cast<std::size_t>(std::count_if(chunk.begin(), chunk.end(), [](auto b) { return b != 0; }));
    decoder.feed(chunk, now);
    if (in.ConsumeBool()) decoder.idle(now + std::chrono::milliseconds(in.ConsumeIntegralInRange(0, 1000)));
    for (ReceivedFrame& frame : decoder.takeFrames()) frames.push_back(std::move(frame));
  }
  decoder.finish();
  for (ReceivedFrame& frame : decoder.takeFrames()) frames.push_back(std::move(frame));
  FUZZ_EXPECT(!decoder.inFrame());

  std::size_t inFrames = 0;
  for (const ReceivedFrame& frame : frames) {
    checkFrame(frame);
    inFrames += static_cast<std::size_t>(std::count_if(frame.bytes.begin(), frame.bytes.end(), [](auto b) { return b != 0; }));
  }
  FUZZ_EXPECT(inFrames == nonZero);
  if (!frames.empty() && frames.back().complete()) play(frames.back(), in);
}

}  // namespace lumadot::fuzz
