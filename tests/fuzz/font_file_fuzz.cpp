// The FreeType reader over any bytes, plain or gzip data, as
// face 0 to 3 (the first byte chooses), and the fonts it builds from them.

#include <cstdint>
#include <span>

#include "extract/font_layout.h"
#include "fuzz/fuzz_input.h"
#include "mkfont/font_builder.h"
#include "fonts/freetype_font.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumadot;
  if (size == 0) return 0;
  const auto font = FreeTypeFont::fromBytes(std::span(data + 1, size - 1), data[0] % 4, "fuzz");
  if (!font) {
    FUZZ_EXPECT(font.error().text.starts_with("fuzz: "));
    return 0;
  }
  FUZZ_EXPECT(!font->description().empty());
  const BuiltFonts fonts = buildFonts([&](char32_t c) { return font->glyph(c); }, font->ascent());
  FUZZ_EXPECT(fonts.baseline >= 0 && fonts.baseline <= 16);
  for (const BuiltFont* built : {&fonts.asc16, &fonts.hzk16}) {
    FUZZ_EXPECT(built->found + built->missing.size() == built->wanted);
    FUZZ_EXPECT(built->clipped <= built->found);
  }
  FUZZ_EXPECT(fonts.asc16.bytes.size() == kAsc16Size && fonts.hzk16.bytes.size() == kHzk16Size);
  return 0;
}
