#include "preview/png_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "preview/glyph_samples.h"

namespace lumadot {
namespace {

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

}  // namespace
}  // namespace lumadot
