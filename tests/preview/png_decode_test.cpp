// Qt's own PNG reader, which shares no code with pngImage, decodes the file.
#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "preview/glyph_samples.h"
#include "preview/png_image.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::pictureOf;
using test::StoredGlyph;

QImage decode(const std::string& png) {
  QImage image;
  EXPECT_TRUE(image.loadFromData(QByteArray(png.data(), static_cast<qsizetype>(png.size())), "PNG"));
  return image;
}

PngColour colourAt(const QImage& image, int x, int y) {
  const QRgb rgb = image.pixel(x, y);
  return {static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
          static_cast<std::uint8_t>(qBlue(rgb))};
}

// Every pixel against the dot it belongs to; stops at the first wrong one.
void expectDots(const QImage& image, const DotPicture& picture, int scale) {
  ASSERT_EQ(image.width(), picture.width() * scale);
  ASSERT_EQ(image.height(), picture.height() * scale);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool gap = scale >= 3 && (x % scale == scale - 1 || y % scale == scale - 1);
      const PngColour expected = gap                                 ? kDotGapColour
                                 : picture.lit(x / scale, y / scale) ? kLitDotColour
                                                                     : kDarkDotColour;
      if (colourAt(image, x, y) != expected) {
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") at scale " << scale;
        return;
      }
    }
  }
}

std::vector<StoredGlyph> mixedGlyphs() {
  StoredGlyph single{false, {}};
  StoredGlyph doubled{true, {}};
  for (int i = 0; i < 16; ++i) single.bytes.push_back(static_cast<std::uint8_t>(i * 17));
  for (int i = 0; i < 32; ++i) doubled.bytes.push_back(static_cast<std::uint8_t>(i * 29 + 3));
  return {single, doubled, single};
}

struct DecodeCase {
  const char* name;
  int scale;
};

class PngDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(PngDecode, EveryPixelShowsItsDot) {
  const DotPicture picture = pictureOf(mixedGlyphs());
  expectDots(decode(pngImage(picture, GetParam().scale).value()), picture, GetParam().scale);
}

INSTANTIATE_TEST_SUITE_P(Scales, PngDecode,
                         ::testing::Values(DecodeCase{"One", 1}, DecodeCase{"TwoWithoutGaps", 2},
                                           DecodeCase{"ThreeWithGaps", 3}, DecodeCase{"Four", 4}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PngDecode, DotSquaresAtScaleFour) {
  // Only the top-left dot is lit; the gap is its square's last column and row.
  const DotPicture picture = pictureOf({test::sparseGlyph(false, {{0, 0x80}})});
  const QImage image = decode(pngImage(picture, 4).value());
  EXPECT_EQ(colourAt(image, 0, 0), kLitDotColour);
  EXPECT_EQ(colourAt(image, 3, 0), kDotGapColour);
  EXPECT_EQ(colourAt(image, 0, 3), kDotGapColour);
  EXPECT_EQ(colourAt(image, 4, 0), kDarkDotColour);
}

TEST(PngDecode, WidestRunAtScaleOne) {
  std::vector<StoredGlyph> glyphs(4096);
  for (std::size_t g = 0; g < glyphs.size(); ++g) {
    for (std::size_t r = 0; r < 16; ++r) glyphs[g].bytes.push_back(static_cast<std::uint8_t>((g * 31 + r * 7) ^ (g >> 4)));
  }
  const DotPicture picture = pictureOf(glyphs);
  expectDots(decode(pngImage(picture, 1).value()), picture, 1);
}

}  // namespace
}  // namespace lumadot
