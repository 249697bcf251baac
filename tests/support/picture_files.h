#pragma once

// Picture files made in the tests, with the libraries that read them
// (libpng, libjpeg-turbo, giflib) and by hand for BMP, so the reader is fed
// what other programs write.

#include <string>
#include <vector>

#include "picture/picture.h"

namespace lumadot::test {

// A picture drawn in characters: '#' black, '.' white, ' ' transparent, one a pixel.
RgbaPicture drawnPicture(const std::vector<std::string>& rows);
// Every pixel of one grey (alpha `alpha`).
RgbaPicture greyPicture(int width, int height, std::uint8_t grey, std::uint8_t alpha = 0xFF);

std::string pngFile(const RgbaPicture& picture);
std::string jpegFile(const RgbaPicture& picture);  // quality 100, alpha dropped
// Two to 256 colours; a transparent pixel becomes the transparent colour.
std::string gifFile(const RgbaPicture& picture);

struct BmpForm {
  int bits = 24;  // 1, 4 and 8 with a palette; 16 and 32 with bit fields when `bitfields`
  bool topDown = false;
  bool bitfields = false;
  bool coreHeader = false;  // OS/2's 12-byte header
};
std::string bmpFile(const RgbaPicture& picture, const BmpForm& form = {});

std::vector<std::uint8_t> bytesOf(const std::string& file);

}  // namespace lumadot::test
