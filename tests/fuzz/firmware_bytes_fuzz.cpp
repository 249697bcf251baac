// Glyph bytes pasted from firmware, and the layout detector over them: the
// reader takes any text, and what it reads spelled our way reads back the
// same; its refusal names a token of the text. Every layout turns any font
// table's bytes into pictures that encode back to bytes drawing the same, a
// count no layout takes is refused, and a detected layout draws the pictures
// it reports, their misfits summed.

#include <cstdio>
#include <span>
#include <string>
#include <vector>

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

// Our glyphs of a font table: one to three, each of a size from 8 to 24 dots a side.
std::vector<GlyphPicture> fuzzedGlyphs(FuzzedDataProvider& in) {
  std::vector<GlyphPicture> glyphs(in.ConsumeIntegralInRange<std::size_t>(1, 3));
  for (GlyphPicture& glyph : glyphs) {
    glyph = GlyphPicture(Dots{in.ConsumeIntegralInRange(8, 24), in.ConsumeIntegralInRange(8, 24)});
    const std::uint64_t mask = ~(~std::uint64_t{0} >> glyph.width);
    for (int y = 0; y < glyph.height; ++y) {
      glyph.rows[static_cast<std::size_t>(y)] = (std::uint64_t{in.ConsumeIntegral<std::uint32_t>()} << 32) & mask;
    }
  }
  return glyphs;
}

// The pictures `bytes` draw in `layout`, glyph by glyph, the way the detector splits them.
std::vector<GlyphPicture> drawn(std::span<const std::uint8_t> bytes, const std::vector<GlyphPicture>& ours,
                                const ByteLayout& layout) {
  std::vector<GlyphPicture> pictures;
  for (const GlyphPicture& glyph : ours) {
    const std::size_t size = glyphSize(glyph.dots(), layout.scan);
    pictures.push_back(decodeGlyph(bytes.first(size), glyph.dots(), layout));
    bytes = bytes.subspan(size);
  }
  return pictures;
}

void checkLayouts(FuzzedDataProvider& in) {
  const std::vector<GlyphPicture> ours = fuzzedGlyphs(in);
  const GlyphBytes wanted = glyphBytes(ours);
  const bool columns = in.ConsumeBool();
  const auto bytes = in.ConsumeBytes<std::uint8_t>(columns ? wanted.columnScans : wanted.rowScans);
  const auto found = detectLayout(bytes, ours);
  if (bytes.size() != wanted.rowScans && bytes.size() != wanted.columnScans) {
    FUZZ_EXPECT(!found);
    return;
  }
  for (const ByteLayout& layout : allLayouts()) {
    if (bytes.size() != (scansColumns(layout.scan) ? wanted.columnScans : wanted.rowScans)) continue;
    // What a layout draws it encodes back to bytes that draw the same.
    const std::vector<GlyphPicture> pictures = drawn(bytes, ours, layout);
    std::vector<std::uint8_t> back(bytes.size());
    std::size_t offset = 0;
    for (const GlyphPicture& picture : pictures) {
      encodeGlyph(picture, layout, std::span(back).subspan(offset));
      offset += glyphSize(picture.dots(), layout.scan);
    }
    FUZZ_EXPECT(drawn(back, ours, layout) == pictures);
  }
  if (!found) return;
  FUZZ_EXPECT(drawn(bytes, ours, found->best.layout) == found->best.pictures);
  int sum = 0;
  for (std::size_t i = 0; i < ours.size(); ++i) sum += misfit(found->best.pictures[i], ours[i]);
  FUZZ_EXPECT(found->best.misfit == sum);
  FUZZ_EXPECT(found->best.misfit <= found->runnerUp.misfit && !(found->best.pictures == found->runnerUp.pictures));
  FUZZ_EXPECT(!found->clear || found->best.misfit < found->runnerUp.misfit);
}

}  // namespace

void fuzzInput(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) {
    checkLayouts(in);
  } else {
    const std::string text = in.ConsumeRemainingBytesAsString();
    checkReader(text);
  }
}

}  // namespace lumadot::fuzz
