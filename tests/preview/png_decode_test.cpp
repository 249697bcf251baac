// Qt's own PNG reader, which shares no code with pngImage, decodes the file.
#include <QByteArray>
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
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

// Every pixel against the dot it belongs to, or the seam line at `seamPixels`; stops at the first wrong one.
void expectDots(const QImage& image, const DotPicture& picture, int scale, const std::vector<int>& seamPixels = {}) {
  ASSERT_EQ(image.width(), picture.width() * scale);
  ASSERT_EQ(image.height(), picture.height() * scale);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool gap = scale >= 3 && (x % scale == scale - 1 || y % scale == scale - 1);
      const bool seam = std::find(seamPixels.begin(), seamPixels.end(), x) != seamPixels.end();
      const PngColour expected = seam                                ? kSeamColour
                                 : gap                               ? kDotGapColour
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
  std::vector<int> seams;       // columns a module starts at
  std::vector<int> seamPixels;  // the pixel columns drawn as the seam's line
};

class PngDecode : public ::testing::TestWithParam<DecodeCase> {};

// The mixed glyphs are 32 dots across.
TEST_P(PngDecode, EveryPixelShowsItsDot) {
  const DecodeCase& row = GetParam();
  const DotPicture picture = pictureOf(mixedGlyphs());
  expectDots(decode(pngImage(picture, row.scale, row.seams).value()), picture, row.scale, row.seamPixels);
}

INSTANTIATE_TEST_SUITE_P(Scales, PngDecode,
                         ::testing::Values(DecodeCase{"One", 1, {}, {}}, DecodeCase{"TwoWithoutGaps", 2, {}, {}},
                                           DecodeCase{"ThreeWithGaps", 3, {}, {}}, DecodeCase{"Four", 4, {}, {}},
                                           DecodeCase{"SeamsInTheGapBeforeTheirColumn", 4, {8, 24}, {31, 95}},
                                           DecodeCase{"SeamAtScaleThree", 3, {16}, {47}},
                                           DecodeCase{"SeamsAtEitherEdgeOrPastItNotDrawn", 4, {0, 32, 40}, {}},
                                           DecodeCase{"NoGapsNoSeams", 2, {8, 24}, {}},
                                           DecodeCase{"NoGapsNoSeamsAtOne", 1, {16}, {}}),
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

// A picture the width of a chain of two modules: the line runs the full height, the dot gaps' rows too.
TEST(PngDecode, SeamRunsDownTheGapWhereTwoModulesMeet) {
  const DotPicture picture(std::vector<std::uint16_t>(64, 0xFFFF));
  const std::vector<int> seams{32};
  const QImage image = decode(pngImage(picture, 4, seams).value());
  EXPECT_EQ(colourAt(image, 127, 0), kSeamColour);
  EXPECT_EQ(colourAt(image, 127, 3), kSeamColour);
  EXPECT_EQ(colourAt(image, 127, 63), kSeamColour);
  EXPECT_EQ(colourAt(image, 123, 0), kDotGapColour);
  EXPECT_EQ(colourAt(image, 126, 0), kLitDotColour);
  EXPECT_EQ(colourAt(image, 128, 0), kLitDotColour);
  EXPECT_EQ(colourAt(image, 131, 0), kDotGapColour);
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
