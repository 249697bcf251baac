#include "picture/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "extract/byte_layout.h"
#include "extract/listing.h"
#include "picture/picture_dots.h"
#include "picture/picture_glyphs.h"
#include "support/named_rows.h"
#include "support/picture_files.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::bytesOf;
using test::drawnPicture;

// Black, white and transparent, at odd sizes so row padding shows.
const std::vector<std::string> kDrawn{
    "#..#.##  ", "##...#.# ", "......###", "#########", " .#.#.#. ",
};

// The dots as '#' lit and '.' dark, row by row.
std::vector<std::string> rowsOf(const DotGrid& grid) {
  std::vector<std::string> rows(static_cast<std::size_t>(grid.height));
  for (int y = 0; y < grid.height; ++y) {
    for (int x = 0; x < grid.width; ++x) rows[static_cast<std::size_t>(y)] += grid.at(x, y) ? '#' : '.';
  }
  return rows;
}

std::vector<std::string> expectedDots(const std::vector<std::string>& drawn) {
  std::vector<std::string> rows = drawn;
  for (auto& row : rows) std::replace(row.begin(), row.end(), ' ', '.');  // transparent counts as white
  return rows;
}

struct TypeCase {
  const char* name;
  std::function<std::string(const RgbaPicture&)> file;
  bool keepsAlpha;
};

class PictureTypes : public ::testing::TestWithParam<TypeCase> {};

// Every type and form of file gives the same dots; JPEG is lossy, so only the dots are compared.
TEST_P(PictureTypes, SameDotsFromEveryFile) {
  const RgbaPicture drawn = drawnPicture(GetParam().keepsAlpha ? kDrawn : expectedDots(kDrawn));
  const auto grey = readPicture(bytesOf(GetParam().file(drawn)), "logo");
  ASSERT_TRUE(grey) << grey.error().text;
  EXPECT_EQ(rowsOf(pictureDots(*grey, {})), expectedDots(kDrawn));
}

INSTANTIATE_TEST_SUITE_P(
    Files, PictureTypes,
    ::testing::Values(TypeCase{"Png", test::pngFile, true}, TypeCase{"Gif", test::gifFile, true},
                      TypeCase{"Jpeg", test::jpegFile, false},
                      TypeCase{"Bmp24BottomUp", [](const RgbaPicture& p) { return test::bmpFile(p); }, false},
                      TypeCase{"Bmp32TopDown",
                               [](const RgbaPicture& p) {
                                 return test::bmpFile(p, {32, true});
                               },
                               false},
                      TypeCase{"Bmp1", [](const RgbaPicture& p) { return test::bmpFile(p, {1}); }, false},
                      TypeCase{"Bmp4Core",
                               [](const RgbaPicture& p) {
                                 return test::bmpFile(p, {4, false, false, true});
                               },
                               false},
                      TypeCase{"Bmp8",
                               [](const RgbaPicture& p) {
                                 return test::bmpFile(p, {8, true});
                               },
                               false},
                      TypeCase{"Bmp16Fields",
                               [](const RgbaPicture& p) {
                                 return test::bmpFile(p, {16, false, true});
                               },
                               false},
                      TypeCase{"Bmp32Fields",
                               [](const RgbaPicture& p) {
                                 return test::bmpFile(p, {32, true, true});
                               },
                               false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PictureRead, PngAndBmpGiveTheSamePixels) {
  const RgbaPicture drawn = drawnPicture(expectedDots(kDrawn));
  EXPECT_EQ(decodePicture(bytesOf(test::pngFile(drawn)), "a").value(), drawn);
  EXPECT_EQ(decodePicture(bytesOf(test::bmpFile(drawn, {8})), "b").value(), drawn);
}

struct BadFileCase {
  const char* name;
  std::function<std::string()> file;
  std::string failure;
};

class BadPictureFiles : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(BadPictureFiles, FailInOneLine) {
  const auto read = decodePicture(bytesOf(GetParam().file()), "f.img");
  ASSERT_FALSE(read);
  EXPECT_EQ(read.error().text, GetParam().failure);
}

std::string cut(const std::string& file, std::size_t keep) { return file.substr(0, keep); }
std::string poked(std::string file, std::size_t at, char value) {
  file.at(at) = value;
  return file;
}
const RgbaPicture kLogo = drawnPicture(expectedDots(kDrawn));

INSTANTIATE_TEST_SUITE_P(
    Files, BadPictureFiles,
    ::testing::Values(
        BadFileCase{"Text", [] { return std::string("hello"); }, "f.img: not a PNG, BMP, GIF or JPEG picture"},
        BadFileCase{"Empty", [] { return std::string(); }, "f.img: not a PNG, BMP, GIF or JPEG picture"},
        BadFileCase{"PngTruncated", [] { return cut(test::pngFile(kLogo), 40); }, "f.img: the PNG is truncated"},
        BadFileCase{"PngBadCrc", [] { return poked(test::pngFile(kLogo), 29, 'x'); },
                    "f.img: the PNG is damaged (IHDR: CRC error)"},
        BadFileCase{"GifTruncated", [] { return cut(test::gifFile(kLogo), 30); }, "f.img: the GIF is truncated"},
        BadFileCase{"JpegTruncated", [] { return cut(test::jpegFile(kLogo), 300); }, "f.img: the JPEG is truncated"},
        BadFileCase{"JpegDamaged",
                    [] {
                      const std::string file = test::jpegFile(kLogo);
                      return poked(file, file.find("\xFF\xC0") + 4, '\x07');  // the frame's sample precision
                    },
                    "f.img: the JPEG is damaged (Unsupported JPEG data precision 7)"},
        BadFileCase{"BmpTruncated", [] { return cut(test::bmpFile(kLogo), 70); }, "f.img: the BMP is truncated"},
        BadFileCase{"BmpRle", [] { return poked(test::bmpFile(kLogo, {8}), 30, '\x01'); },
                    "f.img: cannot read this BMP: compression 1 (only uncompressed bitmaps are read)"},
        BadFileCase{"BmpTooWide", [] { return poked(test::bmpFile(kLogo), 20, '\x01'); },
                    "f.img: the picture is too large (65545 x 5 pixels; at most 65535 a side and 64 Mi pixels in all)"},
        BadFileCase{
            "BmpTooManyPixels",
            [] {
              std::string file = test::bmpFile(kLogo);
              file.replace(18, 8, std::string("\x10\x27\0\0\x10\x27\0\0", 8));  // 10,000 x 10,000
              return file;
            },
            "f.img: the picture is too large (10000 x 10000 pixels; at most 65535 a side and 64 Mi pixels in all)"}),
    [](const auto& row) { return std::string(row.param.name); });

// One row of greys, read as dots under each option.
struct DotCase {
  const char* name;
  std::vector<std::uint8_t> greys;
  std::uint8_t alpha;
  DotOptions options;
  std::string dots;
};

class PictureDotRows : public ::testing::TestWithParam<DotCase> {};

TEST_P(PictureDotRows, LitWhereDarkerThanTheThreshold) {
  const DotCase& row = GetParam();
  RgbaPicture picture{static_cast<int>(row.greys.size()), 1, {}};
  for (const std::uint8_t g : row.greys) picture.rgba.insert(picture.rgba.end(), {g, g, g, row.alpha});
  EXPECT_EQ(rowsOf(pictureDots(greyOf(picture), row.options)).front(), row.dots);
}

const std::vector<std::uint8_t> kRamp{0, 60, 127, 128, 200, 255};
DotOptions thresholdOf(int threshold, bool invert = false) {
  DotOptions options;
  options.threshold = threshold;
  options.invert = invert;
  return options;
}

INSTANTIATE_TEST_SUITE_P(Options, PictureDotRows,
                         ::testing::Values(DotCase{"Default", kRamp, 0xFF, {}, "###..."},
                                           DotCase{"Threshold61", kRamp, 0xFF, thresholdOf(61), "##...."},
                                           DotCase{"ThresholdZeroLightsNothing", kRamp, 0xFF, thresholdOf(0), "......"},
                                           DotCase{"Threshold255", kRamp, 0xFF, thresholdOf(255), "#####."},
                                           DotCase{"Inverted", kRamp, 0xFF, thresholdOf(128, true), "...###"},
                                           DotCase{"TransparentIsWhite", kRamp, 0x00, {}, "......"},
                                           // Black at alpha 128 over white is grey 127.
                                           DotCase{"HalfTransparentBlackAt127", {0}, 0x80, thresholdOf(127), "."},
                                           DotCase{"HalfTransparentBlackAt128", {0}, 0x80, thresholdOf(128), "#"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PictureDots, DitherGivesMidGreyHalfItsDots) {
  DotOptions options;
  options.dither = true;
  const auto dots = pictureDots(greyOf(test::greyPicture(16, 16, 128)), options);
  const auto lit = std::count(dots.lit.begin(), dots.lit.end(), true);
  EXPECT_NEAR(static_cast<double>(lit), 128.0, 8.0);
  const auto plain = pictureDots(greyOf(test::greyPicture(16, 16, 128)), {});
  EXPECT_EQ(std::count(plain.lit.begin(), plain.lit.end(), true), 0);  // without dithering mid grey lights nothing
  const auto quarter = pictureDots(greyOf(test::greyPicture(16, 16, 192)), options);
  EXPECT_NEAR(static_cast<double>(std::count(quarter.lit.begin(), quarter.lit.end(), true)), 64.0, 8.0);
}

struct ScaleCase {
  const char* name;
  DotScale scale;
  int width;
  int height;
};

class PictureScales : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(PictureScales, SizeAsAsked) {
  EXPECT_EQ(scaledSize(GetParam().scale, 300, 50), std::make_pair(GetParam().width, GetParam().height));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PictureScales,
                         ::testing::Values(ScaleCase{"AsItIs", {}, 300, 50}, ScaleCase{"Height16", {16, {}}, 96, 16},
                                           ScaleCase{"Height64Up", {64, {}}, 384, 64},
                                           ScaleCase{"ExactSize", {16, 40}, 40, 16}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(PictureDots, AreaAverageOnGrey) {
  // 4 x 2 greys to 2 x 1: each output pixel the mean of a 2 x 2 block.
  const GreyPicture picture{4, 2, {0, 100, 200, 255, 40, 60, 255, 255}};
  EXPECT_EQ(scaledPicture(picture, 2, 1).grey, (std::vector<std::uint8_t>{50, 241}));
  // 3 to 2 across: the middle pixel is shared half and half.
  EXPECT_EQ(scaledPicture({3, 1, {0, 90, 180}}, 2, 1).grey, (std::vector<std::uint8_t>{30, 150}));
  // Up: each pixel repeated.
  EXPECT_EQ(scaledPicture({2, 1, {10, 200}}, 4, 1).grey, (std::vector<std::uint8_t>{10, 10, 200, 200}));
  // Before the threshold: a fine checkerboard averages to grey, not to its first pixel.
  DotOptions half;
  half.scale = {1, 1};
  EXPECT_EQ(rowsOf(pictureDots({2, 2, {0, 255, 255, 0}}, half)), std::vector<std::string>{"."});
}

// Every dot lit, `width` wide and `height` high.
DotGrid litGrid(int width, int height) {
  return {width, height, std::vector<bool>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), true)};
}

struct CellCase {
  int width;
  std::vector<int> cellWidths;
};

class PictureCells : public ::testing::TestWithParam<CellCase> {};

TEST_P(PictureCells, CutAsTextGlyphs) {
  const auto glyphs = pictureGlyphs(litGrid(GetParam().width, 16), {});
  ASSERT_TRUE(glyphs) << glyphs.error().text;
  EXPECT_EQ(glyphs->cell, (CellSize{16, 16}));
  std::vector<int> widths;
  for (const Glyph& glyph : glyphs->glyphs) widths.push_back(glyphs->dots(glyph).width);
  EXPECT_EQ(widths, GetParam().cellWidths);
  // Dots past the picture's right edge are dark: the last row's bytes end the lit run there.
  const Glyph& last = glyphs->glyphs.back();
  const int padding = glyphs->columnCount() * 8 - GetParam().width;
  EXPECT_EQ(glyphs->bytes[last.offset + last.size - 1], static_cast<std::uint8_t>(0xFF << padding));
  EXPECT_EQ(glyphs->columnCount(), (GetParam().width + 7) / 8);
}

INSTANTIATE_TEST_SUITE_P(Widths, PictureCells,
                         ::testing::Values(CellCase{8, {8}}, CellCase{16, {16}}, CellCase{17, {16, 8}},
                                           CellCase{24, {16, 8}}, CellCase{1, {8}}, CellCase{40, {16, 16, 8}}),
                         [](const auto& row) { return "Width" + std::to_string(row.param.width); });

TEST(PictureCells, LabelledAndListedAsGlyphs) {
  const auto glyphs = pictureGlyphs(litGrid(24, 16), {Scan::columns, true, false}).value();
  EXPECT_EQ(glyphs.glyphs[0].character, u"图1");
  EXPECT_TRUE(glyphs.glyphs[0].doubleByte());
  EXPECT_EQ(glyphs.glyphs[1].character, u"图2");
  EXPECT_FALSE(glyphs.glyphs[1].doubleByte());
  EXPECT_EQ(glyphs.bytes.size(), 48U);
  EXPECT_NE(listing(glyphs).find(u";--------图2--------字模结构：　8*16　点阵"), std::u16string::npos);
}

TEST(PictureCells, OtherHeightsAndLimits) {
  const auto tall = pictureGlyphs(litGrid(30, 24), {}).value();
  EXPECT_EQ(tall.cell, (CellSize{24, 24}));
  EXPECT_EQ(tall.glyphs.size(), 2U);  // 24 + 12 (6 of them padding)
  EXPECT_EQ(tall.dots(tall.glyphs[1]), (Dots{12, 24}));
  const auto tooTall = pictureGlyphs(litGrid(8, 65), {});
  ASSERT_FALSE(tooTall);
  EXPECT_EQ(tooTall.error().text, "the picture is 65 dots high; a glyph is at most 64");
  // 32,768 dots at 16 rows fill one run's 65,536 bytes; one more column is too long.
  EXPECT_TRUE(pictureGlyphs(litGrid(32768, 16), {}));
  const auto tooLong = pictureGlyphs(litGrid(32769, 16), {});
  ASSERT_FALSE(tooLong);
  EXPECT_EQ(tooLong.error().text, "文字太长：一次最多能取模4096个单字节字符或2048个双字节字符");
  EXPECT_EQ(tooLong.error().detail, "the picture makes 2049 glyphs, 65552 glyph bytes; one run holds 65536");
}

}  // namespace
}  // namespace lumadot
