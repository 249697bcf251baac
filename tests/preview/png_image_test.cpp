#include "preview/png_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "picture/picture.h"
#include "preview/glyph_samples.h"
#include "support/named_rows.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::pictureOf;
using test::StoredGlyph;

constexpr std::string_view kSignature{"\x89PNG\r\n\x1A\n", 8};
constexpr std::string_view kIendChunk{"\0\0\0\0IEND\xAE\x42\x60\x82", 12};

std::uint32_t bigEndianAt(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<std::uint8_t>(bytes.at(offset + i));
  return value;
}

struct ScaleCase {
  const char* name;
  int scale;
  std::uint32_t width;
  std::uint32_t height;
};

class PngSize : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(PngSize, HeaderGivesTheClampedScale) {
  const std::string png = pngImage(pictureOf({{true, std::vector<std::uint8_t>(32, 0x5A)}, {false, {}}}), GetParam().scale).value();
  ASSERT_GE(png.size(), kSignature.size() + 25 + kIendChunk.size());
  EXPECT_EQ(png.substr(0, 16), std::string(kSignature) + std::string("\0\0\0\x0DIHDR", 8));
  EXPECT_EQ(bigEndianAt(png, 16), GetParam().width);
  EXPECT_EQ(bigEndianAt(png, 20), GetParam().height);
  EXPECT_EQ(png.substr(png.size() - kIendChunk.size()), kIendChunk);
}

INSTANTIATE_TEST_SUITE_P(Scales, PngSize,
                         ::testing::Values(ScaleCase{"BelowRange", 0, 24, 16}, ScaleCase{"One", 1, 24, 16},
                                           ScaleCase{"Default", kDefaultPngScale, 96, 64},
                                           ScaleCase{"Largest", 32, 768, 512}, ScaleCase{"AboveRange", 33, 768, 512}),
                         [](const auto& row) { return std::string(row.param.name); });

// The palette's fourth colour, the seam's, only where a seam is drawn: other PNGs are the files they were.
TEST(PngImage, PaletteHoldsTheSeamColourOnlyWhenASeamIsDrawn) {
  const DotPicture picture = pictureOf({{true, std::vector<std::uint8_t>(32, 0x5A)}, {false, {}}});  // 24 dots
  const std::pair<std::vector<int>, int> rows[] = {{{}, 3}, {{8}, 4}, {{24, 30}, 3}, {{0}, 3}};
  for (const auto& [seams, colours] : rows) {
    for (const int scale : {2, 4}) {
      const std::string png = pngImage(picture, scale, seams).value();
      const int expected = scale == 2 ? 3 : colours;  // no gaps at 2 to draw a seam in
      EXPECT_EQ(png.substr(37, 4), "PLTE");
      EXPECT_EQ(bigEndianAt(png, 33), 3U * static_cast<std::uint32_t>(expected)) << seams.size() << " at " << scale;
    }
  }
}

TEST(PngImage, EmptyPictureGivesNoBytes) { EXPECT_EQ(pngImage(pictureOf({}), kDefaultPngScale).value(), ""); }

TEST(PngImage, WidestRunAtLargestScale) {
  // A full buffer: 4,096 single-byte glyphs, a million pixels a row.
  const std::vector<StoredGlyph> glyphs(4096, StoredGlyph{false, std::vector<std::uint8_t>(16, 0xA5)});
  const std::string png = pngImage(pictureOf(glyphs), kMaxPngScale).value();
  ASSERT_GE(png.size(), 24U);
  EXPECT_EQ(bigEndianAt(png, 16), 32768U * 32U);
  EXPECT_EQ(bigEndianAt(png, 20), 512U);
  EXPECT_EQ(png.substr(png.size() - kIendChunk.size()), kIendChunk);
}

// The PNGs the hand-written writer made before libpng took over, in
// tests/preview/fixtures: the same picture must still give the same pixels.
class PngFixture : public ::testing::TestWithParam<int> {};

TEST_P(PngFixture, SamePixelsAsTheWriterBeforeIt) {
  StoredGlyph single{false, {}};
  StoredGlyph doubled{true, {}};
  for (int i = 0; i < 16; ++i) single.bytes.push_back(static_cast<std::uint8_t>(i * 17));
  for (int i = 0; i < 32; ++i) doubled.bytes.push_back(static_cast<std::uint8_t>(i * 29 + 3));
  const std::string now = pngImage(pictureOf({single, doubled, single}), GetParam()).value();
  const std::string path = std::string(LUMADOT_PREVIEW_FIXTURES) + "/dots_scale" + std::to_string(GetParam()) + ".png";
  std::ifstream file(path, std::ios::binary);
  const std::vector<std::uint8_t> before{std::istreambuf_iterator<char>(file), {}};
  const auto expected = decodePicture(before, path);
  ASSERT_TRUE(expected) << expected.error().text;
  const auto actual = decodePicture({reinterpret_cast<const std::uint8_t*>(now.data()), now.size()}, "new");
  ASSERT_TRUE(actual) << actual.error().text;
  EXPECT_EQ(actual->width, expected->width);
  EXPECT_EQ(actual->height, expected->height);
  EXPECT_TRUE(actual->rgba == expected->rgba);
}

INSTANTIATE_TEST_SUITE_P(Scales, PngFixture, ::testing::Values(1, 3, 4));

}  // namespace
}  // namespace lumadot
