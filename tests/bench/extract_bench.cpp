// Full-buffer runs on the built fonts: run with
//   build/tests/bin/lumadot-bench   (make bench)
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "extract/ansi_code.h"
#include "extract/byte_layout.h"
#include "extract/extraction_run.h"
#include "extract/listing.h"

namespace lumadot {
namespace {

class DiscardHooks final : public RunHooks {
 public:
  void showListing(std::u16string_view text) override { benchmark::DoNotOptimize(text.size()); }
  void showFailure(const Failure&) override {}
  void showSent(std::string_view) override {}
};

std::u16string asciiText() {
  std::u16string text;
  for (int i = 0; i < 4096; ++i) text.push_back(static_cast<char16_t>(0x20 + i % 95));
  return text;
}

// 2,048 different GB2312 characters, so every lookup reads another cell.
std::u16string chineseText() {
  std::u16string text;
  for (int lead = 0xB0; text.size() < 2048; ++lead) {
    for (int trail = 0xA1; trail <= 0xFE && text.size() < 2048; ++trail) {
      const char bytes[] = {static_cast<char>(lead), static_cast<char>(trail)};
      if (const auto ch = fromAnsiBytes({bytes, 2})) text.push_back(static_cast<char16_t>(*ch));
    }
  }
  return text;
}

// A layout as the benchmark's label: "columns lsb-first".
std::string label(const ByteLayout& layout) {
  return std::string(scanName(layout.scan)) + (layout.lsbFirst ? " lsb-first" : "") + (layout.negative ? " negative" : "");
}

void runFull(benchmark::State& state, const std::u16string& text, RunOptions options) {
  const FontPaths fonts = FontPaths::inDirectory(LUMADOT_BIN_DIR);
  auto buffer = std::make_unique<GlyphBuffer>();
  NoTransmission noPort;
  DiscardHooks hooks;
  for (auto _ : state) {
    const RunResult result = runExtraction(text, options, fonts, *buffer, noPort, hooks);
    if (!result.completed || buffer->fillCount != GlyphBuffer::kCapacity) state.SkipWithError("run failed");
  }
  state.SetBytesProcessed(state.iterations() * GlyphBuffer::kCapacity);
}

void BM_RunSingleByte(benchmark::State& state) { runFull(state, asciiText(), {}); }
void BM_RunDoubleByte(benchmark::State& state) { runFull(state, chineseText(), {}); }
// Every layout, by its index in allLayouts(); 0 is the default, the others
// should cost no more than 1.2 times as much.
void BM_RunDoubleByteLayout(benchmark::State& state) {
  const ByteLayout layout = allLayouts()[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(label(layout));
  runFull(state, chineseText(), {.layout = layout});
}

void BM_ListingOnly(benchmark::State& state) {
  auto buffer = std::make_unique<GlyphBuffer>();
  buffer->fillCount = GlyphBuffer::kCapacity;
  const std::u16string text = chineseText();
  for (auto _ : state) benchmark::DoNotOptimize(writeListing(*buffer, text).text.size());
}

// Only the layout's share of a run: 2,048 glyphs put into the layout.
void BM_ArrangeGlyphs(benchmark::State& state) {
  const ByteLayout layout = allLayouts()[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(label(layout));
  auto buffer = std::make_unique<GlyphBuffer>();
  for (std::size_t i = 0; i < buffer->glyphBytes.size(); ++i) buffer->glyphBytes[i] = static_cast<std::uint8_t>(i * 37);
  for (auto _ : state) {
    for (std::size_t at = 0; at < buffer->glyphBytes.size(); at += 32) {
      arrangeGlyph(std::span(buffer->glyphBytes).subspan(at, 32), layout);
    }
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_RunSingleByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunDoubleByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunDoubleByteLayout)->DenseRange(0, kLayoutCount - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrangeGlyphs)->DenseRange(0, kLayoutCount - 1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListingOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumadot

BENCHMARK_MAIN();
