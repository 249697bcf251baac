// The sign reading the widest frame (width 255: 7,904 display bytes) off the line.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "frame/frame_decoder.h"
#include "sign/sign_player.h"

namespace lumadot {
namespace {

std::vector<std::uint8_t> widestFrame() {
  std::vector<std::uint8_t> bytes{255, 5, 1};
  bytes.resize(kFrameHeadBytes, 0);
  for (std::size_t i = 0; i < displayBytesFor(255); ++i) bytes.push_back(static_cast<std::uint8_t>(i * 37));
  bytes.resize(bytes.size() + 289, 0);
  return bytes;
}

// Fed in chunks of `state.range(0)` bytes, as a port hands them over; decoded to the message's dots.
void BM_DecodeWidestFrame(benchmark::State& state) {
  const auto bytes = widestFrame();
  const auto chunk = static_cast<std::size_t>(state.range(0));
  for (auto _ : state) {
    FrameDecoder decoder;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
      decoder.feed(std::span(bytes).subspan(at, std::min(chunk, bytes.size() - at)), std::chrono::milliseconds(0));
    }
    decoder.finish();
    const auto frames = decoder.takeFrames();
    benchmark::DoNotOptimize(SignPlayer(frames.front(), {}).message());
  }
}

// One whole cycle of moving left across the panel: 128 + 3,952 panels.
void BM_PlayWidestFrameCycle(benchmark::State& state) {
  FrameDecoder decoder;
  decoder.feed(widestFrame(), std::chrono::milliseconds(0));
  decoder.finish();
  const SignPlayer player(decoder.takeFrames().front(), {});
  for (auto _ : state) {
    for (int step = 0; step < player.steps(); ++step) benchmark::DoNotOptimize(player.panel(step));
  }
}

}  // namespace

BENCHMARK(BM_DecodeWidestFrame)->Arg(1)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlayWidestFrameCycle)->Unit(benchmark::kMillisecond);

}  // namespace lumadot
