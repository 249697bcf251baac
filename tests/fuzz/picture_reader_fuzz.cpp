// The picture reader over any bytes: libpng, libjpeg and giflib behind our
// error handlers, and our own BMP reader. A picture read holds its pixels
// whole; a failure is one line naming the file. What is read goes on to dots
// and glyphs, as lumadot-cli picture takes it.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz/fuzz_input.h"
#include "picture/picture.h"
#include "picture/picture_dots.h"
#include "picture/picture_glyphs.h"

namespace lumadot::fuzz {
namespace {

void checkDots(const RgbaPicture& picture) {
  const GreyPicture grey = greyOf(picture);
  FUZZ_EXPECT(grey.grey.size() == picture.rgba.size() / 4);
  DotOptions options;
  options.scale.height = 16;
  options.dither = (picture.width & 1) != 0;
  const DotGrid dots = pictureDots(grey, options);
  FUZZ_EXPECT(dots.height == 16);
  FUZZ_EXPECT(dots.lit.size() == static_cast<std::size_t>(dots.width) * 16U);
  const auto glyphs = pictureGlyphs(dots, {});
  if (!glyphs) return;  // too wide for one run
  FUZZ_EXPECT(glyphs->columnCount() == (dots.width + 7) / 8);
  std::size_t bytes = 0;
  for (const Glyph& glyph : glyphs->glyphs) bytes += glyph.size;
  FUZZ_EXPECT(bytes == glyphs->bytes.size());
}

}  // namespace
}  // namespace lumadot::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumadot;
  const auto read = decodePicture(std::span(data, size), "fuzz");
  if (!read) {
    const std::string& text = read.error().text;
    FUZZ_EXPECT(text.starts_with("fuzz: "));
    FUZZ_EXPECT(text.find('\n') == std::string::npos);
    return 0;
  }
  FUZZ_EXPECT(read->width > 0 && read->width <= kMaxPictureSide);
  FUZZ_EXPECT(read->height > 0 && read->height <= kMaxPictureSide);
  FUZZ_EXPECT(read->rgba.size() == static_cast<std::size_t>(read->width) * static_cast<std::size_t>(read->height) * 4);
  lumadot::fuzz::checkDots(*read);
  return 0;
}
