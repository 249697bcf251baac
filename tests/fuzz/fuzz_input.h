#pragma once
// What the fuzz targets share: a check that aborts, so libFuzzer keeps the
// input that broke a promise, and inputs that grow from a few fuzzed bytes to
// the sizes where the full-buffer paths start.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "extract/glyphs.h"
#include "extract/text_codec.h"
#include "support/glyphs_of.h"

#define FUZZ_EXPECT(condition) \
  ((condition) ? void(0) : ::lumadot::fuzz::broken(#condition, __FILE__, __LINE__))

namespace lumadot::fuzz {

[[noreturn]] inline void broken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: broken: %s\n", file, line, what);
  std::abort();
}

// One input of a target that reads it through FuzzedDataProvider; fuzz_entry.cpp
// is the entry libFuzzer calls.
void fuzzInput(FuzzedDataProvider& in);

// Past the 4,096 characters a run can hold, so the full buffer is reached too.
inline constexpr std::size_t kLongestText = 5000;

// A count up to `most`, small ones as likely as large ones at every scale:
// most runs stay quick, and the largest sizes still come up often.
inline std::size_t scaledCount(FuzzedDataProvider& in, std::size_t most) {
  const int bits = in.ConsumeIntegralInRange(0, static_cast<int>(std::bit_width(most)));
  return std::min(most, in.ConsumeIntegralInRange<std::size_t>(0, (std::size_t{1} << bits) - 1));
}

// A fuzzed piece of UTF-8 text repeated to a fuzzed length: short inputs
// still reach the long texts, and a long input can be taken as it stands.
inline std::u16string repeatedText(FuzzedDataProvider& in) {
  const std::size_t length = scaledCount(in, kLongestText);
  const std::u16string piece = utf8ToUtf16(in.ConsumeRandomLengthString(256));
  if (piece.empty() || length <= piece.size()) return piece;
  std::u16string text;
  text.reserve(length + piece.size());
  while (text.size() < length) text += piece;
  return text;
}

// `count` bytes from a fuzzed pattern, each repeat shifted so that glyphs differ.
inline std::vector<std::uint8_t> patternBytes(FuzzedDataProvider& in, std::size_t count) {
  const auto pattern = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 64));
  std::vector<std::uint8_t> bytes(count);
  if (pattern.empty()) return bytes;
  for (std::size_t i = 0; i < count; ++i) {
    bytes[i] = static_cast<std::uint8_t>(pattern[i % pattern.size()] + i / pattern.size());
  }
  return bytes;
}

// Glyph bytes as a run leaves them, whole 16-byte glyphs up to a full run's,
// for the characters of a text that follows them in the input.
inline Glyphs fuzzedGlyphs(FuzzedDataProvider& in) {
  const auto bytes = patternBytes(in, scaledCount(in, 65536 / 16) * 16);
  return test::glyphsOf(repeatedText(in), bytes);
}

}  // namespace lumadot::fuzz
