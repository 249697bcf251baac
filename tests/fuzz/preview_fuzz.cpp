// The preview over any glyph bytes and layout: the dot picture, its terminal
// drawing at any band width, and the PNG, which must decode (by Qt's reader)
// to the same dots.

#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <bit>
#include <memory>
#include <string>

#include "extract/glyph_entries.h"
#include "fuzz/fuzz_input.h"
#include "preview/dot_picture.h"
#include "preview/png_image.h"
#include "preview/terminal_picture.h"

namespace lumadot::fuzz {
namespace {

// Decoding is what costs here, so the PNG is kept to a quarter of a million
// pixels, and a wide one is compared in every 61st column of dots.
constexpr long kMostPixels = 1L << 18;
constexpr int kWidestComparedWhole = 2048;

std::size_t litDots(const DotPicture& picture) {
  std::size_t lit = 0;
  for (int x = 0; x < picture.width(); ++x) {
    for (int y = 0; y < picture.height(); ++y) lit += picture.lit(x, y) ? 1 : 0;
  }
  return lit;
}

void checkTerminal(const DotPicture& picture, std::size_t lit, int maxWidth) {
  const std::string drawn = terminalPicture(picture, kAsciiDots, maxWidth);
  FUZZ_EXPECT(static_cast<std::size_t>(std::count(drawn.begin(), drawn.end(), '#')) == lit);
  FUZZ_EXPECT(static_cast<std::size_t>(std::count(drawn.begin(), drawn.end(), '.')) ==
              static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height()) - lit);
  if (maxWidth <= 0) return;
  // A band is no wider than asked, unless one glyph alone is.
  for (std::size_t start = 0, end = 0; start < drawn.size(); start = end + 1) {
    end = drawn.find('\n', start);
    FUZZ_EXPECT(end != std::string::npos);
    FUZZ_EXPECT(end - start <= static_cast<std::size_t>(std::max(maxWidth, 16)));
  }
}

void checkPng(const DotPicture& picture, int scale) {
  const long pixelsAtOne = static_cast<long>(picture.width()) * picture.height();
  while (scale > kMinPngScale && pixelsAtOne * scale * scale > kMostPixels) --scale;
  const auto png = pngImage(picture, scale);
  FUZZ_EXPECT(png.has_value());
  if (picture.width() == 0) return FUZZ_EXPECT(png->empty());
  QImage image;
  FUZZ_EXPECT(image.loadFromData(QByteArray(png->data(), static_cast<qsizetype>(png->size())), "PNG"));
  const int dot = std::clamp(scale, kMinPngScale, kMaxPngScale);
  FUZZ_EXPECT(image.width() == picture.width() * dot && image.height() == picture.height() * dot);
  const int step = picture.width() > kWidestComparedWhole ? 61 : 1;
  for (int x = 0; x < picture.width(); x += step) {
    for (int y = 0; y < picture.height(); ++y) {
      const PngColour colour = picture.lit(x, y) ? kLitDotColour : kDarkDotColour;
      FUZZ_EXPECT(image.pixel(x * dot, y * dot) == qRgb(colour.red, colour.green, colour.blue));
    }
  }
}

}  // namespace

void fuzzInput(FuzzedDataProvider& in) {
  const ByteLayout layout = in.PickValueInArray(allLayouts());
  const int maxWidth = in.ConsumeIntegralInRange(-1, 200);
  const int scale = in.ConsumeIntegralInRange(-1, kMaxPngScale + 1);
  const Glyphs glyphs = fuzzedGlyphs(in);
  const auto entries = glyphEntries(glyphs);

  const DotPicture picture = drawGlyphs(entries, layout);
  int width = 0;
  std::size_t bits = 0;
  for (const GlyphEntry& entry : entries) {
    width += entry.doubleByte ? 16 : 8;
    for (const std::uint8_t b : entry.bytes) {
      bits += static_cast<std::size_t>(std::popcount(static_cast<std::uint8_t>(layout.negative ? ~b : b)));
    }
  }
  FUZZ_EXPECT(picture.width() == width);
  const std::size_t lit = litDots(picture);
  FUZZ_EXPECT(lit == bits);  // a layout moves dots about, never adds or loses one; a cut-short glyph is dark past its end
  checkTerminal(picture, lit, maxWidth);
  checkPng(picture, scale);
}

}  // namespace lumadot::fuzz
