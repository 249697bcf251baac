// Glyph bytes pasted from firmware, and the layout detector over them: the
// reader takes any text, and what it reads spelled our way reads back the
// same; its refusal names a token of the text. Every layout turns any glyph
// bytes into a picture and back unchanged, and a detected layout draws the
// picture it reports.

#include <cstdio>
#include <string>

#include "extract/firmware_bytes.h"
#include "extract/layout_detector.h"
#include "fuzz/fuzz_input.h"

namespace lumadot::fuzz {
namespace {

// The bytes as a firmware might hold them, in a spelling picked by `style`.
std::string spelled(const std::vector<std::uint8_t>& bytes, int style) {
  std::string text = style == 2 ? "unsigned char code ZI_0[] = { // glyph\n" : "ZI_0:\n";
  char number[16];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i % 8 == 0 && style != 2) text += style == 0 ? "\n\tDB " : "\n\t.db ";
    const char* format = style == 0 ? "%03XH" : "0x%02X";
    std::snprintf(number, sizeof number, format, bytes[i]);
    text += number;
    text += (i % 8 == 7 && style != 2) ? " ; row\n" : ",";
  }
  return text + (style == 2 ? "};\n" : "\n");
}

void checkReader(std::string_view text) {
  const auto bytes = readFirmwareBytes(text);
  if (!bytes) {
    const std::string& message = bytes.error().text;
    const auto open = message.find('\''), close = message.find("' as a byte");
    FUZZ_EXPECT(open != std::string::npos && close != std::string::npos && close > open);
    FUZZ_EXPECT(text.find(message.substr(open + 1, close - open - 1)) != std::string_view::npos);
    return;
  }
  for (int style = 0; style < 3; ++style) {
    const auto again = readFirmwareBytes(spelled(*bytes, style));
    FUZZ_EXPECT(again && *again == *bytes);
  }
}

void checkLayouts(FuzzedDataProvider& in) {
  const Dots dots{in.ConsumeBool() ? 16 : 8, 16};
  const auto bytes = in.ConsumeBytes<std::uint8_t>(glyphSize(dots));
  GlyphPicture ours(dots);
  for (int y = 0; y < dots.height; ++y) {
    const std::uint64_t row = in.ConsumeIntegral<std::uint16_t>() & (dots.width == 8 ? 0xFF00U : 0xFFFFU);
    ours.rows[static_cast<std::size_t>(y)] = row << 48;
  }
  if (bytes.size() != glyphSize(dots)) {
    FUZZ_EXPECT(!detectLayout(bytes, ours));
    return;
  }
  for (const ByteLayout& layout : allLayouts()) {
    std::vector<std::uint8_t> back(bytes.size());
    encodeGlyph(decodeGlyph(bytes, dots, layout), layout, back);
    FUZZ_EXPECT(back == bytes);
  }
  const auto found = detectLayout(bytes, ours);
  if (!found) return;
  FUZZ_EXPECT(decodeGlyph(bytes, dots, found->best.layout) == found->best.pictures.front());
  FUZZ_EXPECT(found->best.misfit == misfit(found->best.pictures.front(), ours));
  FUZZ_EXPECT(found->best.misfit <= found->runnerUp.misfit && !(found->best.pictures == found->runnerUp.pictures));
  FUZZ_EXPECT(!found->clear || found->best.misfit < found->runnerUp.misfit);
}

}  // namespace
}  // namespace lumadot::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumadot::fuzz;
  FuzzedDataProvider in(data, size);
  if (in.ConsumeBool()) {
    checkLayouts(in);
  } else {
    const std::string text = in.ConsumeRemainingBytesAsString();
    checkReader(text);
  }
  return 0;
}
