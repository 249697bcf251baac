// Full-buffer runs on the built fonts: run with
//   build/tests/bin/lumadot-bench   (make bench)
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "extract/ansi_code.h"
#include "extract/byte_layout.h"
#include "frame/display_frame.h"
#include "run/extraction_run.h"
#include "extract/listing.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"

namespace lumadot {
namespace {

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

constexpr std::int64_t kFullRun = 65536;

// The lookup, the listing and the frame of a whole run.
void runFull(benchmark::State& state, const std::u16string& text, const ByteLayout& layout = {}) {
  const FontPaths fonts = FontPaths::inDirectory(LUMADOT_BIN_DIR);
  for (auto _ : state) {
    const RunReport report = runExtraction(text, layout, fonts);
    if (!report.completed() || report.glyphs.bytes.size() != kFullRun) state.SkipWithError("run failed");
    const auto frame = encodeFrame({255, 5, 0}, report.glyphs.bytes);
    benchmark::DoNotOptimize(report.resultText().size() + frame.size());
  }
  state.SetBytesProcessed(state.iterations() * kFullRun);
}

void BM_RunSingleByte(benchmark::State& state) { runFull(state, asciiText(), {}); }
void BM_RunDoubleByte(benchmark::State& state) { runFull(state, chineseText(), {}); }
// Every layout, by its index in allLayouts(); 0 is the default, the others
// should cost no more than 1.2 times as much.
void BM_RunDoubleByteLayout(benchmark::State& state) {
  const ByteLayout layout = allLayouts()[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(label(layout));
  runFull(state, chineseText(), layout);
}

// A full buffer of double-byte glyphs of side range(0) looked up and listed,
// from synthetic font files of that size: per byte, 32 should cost no more
// than 16.
void BM_LookUpAtSize(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  const CellSize cell{side, side};
  const test::TempDir dir;
  const FontPaths fonts = test::writeSyntheticFonts(dir.path(), cell, Charset::gb2312);
  const std::u16string text = chineseText().substr(0, kFullRun / glyphSize(cell.doubleByte()));
  for (auto _ : state) {
    const auto glyphs = lookUp(text, {Scan::columns, true, false}, fonts);
    if (!glyphs || glyphs->bytes.size() != kFullRun) return state.SkipWithError("lookup failed");
    benchmark::DoNotOptimize(listing(*glyphs).size());
  }
  state.SetBytesProcessed(state.iterations() * kFullRun);
}

void BM_ListingOnly(benchmark::State& state) {
  const auto glyphs = lookUp(chineseText(), {}, FontPaths::inDirectory(LUMADOT_BIN_DIR));
  if (!glyphs) return state.SkipWithError("lookup failed");
  for (auto _ : state) benchmark::DoNotOptimize(listing(*glyphs).size());
}

// Only the layout's share of a run: a full buffer of glyphs of side
// range(1) put into the layout; the bytes processed compare the sizes.
void BM_ArrangeGlyphs(benchmark::State& state) {
  const ByteLayout layout = allLayouts()[static_cast<std::size_t>(state.range(0))];
  const int side = static_cast<int>(state.range(1));
  const Dots dots{side, side};
  const std::size_t size = glyphSize(dots);
  state.SetLabel(label(layout) + " " + std::to_string(side) + "x" + std::to_string(side));
  std::vector<std::uint8_t> bytes(kFullRun);
  std::vector<std::uint8_t> out(kFullRun);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 37);
  for (auto _ : state) {
    for (std::size_t at = 0; at + size <= bytes.size(); at += size) {
      arrangeGlyph(std::span(bytes).subspan(at, size), dots, layout, std::span(out).subspan(at, size));
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(kFullRun));
}

BENCHMARK(BM_RunSingleByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunDoubleByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RunDoubleByteLayout)->DenseRange(0, kLayoutCount - 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArrangeGlyphs)
    ->ArgsProduct({benchmark::CreateDenseRange(0, kLayoutCount - 1, 1), {16, 32}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListingOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookUpAtSize)->Arg(16)->Arg(32)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumadot

BENCHMARK_MAIN();
