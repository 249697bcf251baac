#include "support/picture_files.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jpeglib.h>
// clang-format on
#include <gif_lib.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>

namespace lumadot::test {
namespace {

using Colour = std::array<std::uint8_t, 4>;

Colour colourAt(const RgbaPicture& picture, std::size_t i) {
  return {picture.rgba[i * 4], picture.rgba[i * 4 + 1], picture.rgba[i * 4 + 2], picture.rgba[i * 4 + 3]};
}

// The picture's colours, a fully transparent one standing for every transparent pixel.
std::vector<Colour> paletteOf(const RgbaPicture& picture) {
  std::vector<Colour> colours;
  for (std::size_t i = 0; i < picture.rgba.size() / 4; ++i) {
    Colour c = colourAt(picture, i);
    if (c[3] == 0) c = {0, 0, 0, 0};
    if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
  }
  return colours;
}

std::size_t indexOf(const std::vector<Colour>& palette, Colour c) {
  if (c[3] == 0) c = {0, 0, 0, 0};
  return static_cast<std::size_t>(std::find(palette.begin(), palette.end(), c) - palette.begin());
}

void put(std::string& out, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

int appendGif(GifFileType* gif, const GifByteType* bytes, int count) {
  static_cast<std::string*>(gif->UserData)
      ->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
  return count;
}

std::string bmpHeaders(const RgbaPicture& picture, const BmpForm& form, std::size_t extra, std::size_t pixelBytes) {
  const std::size_t headerSize = form.coreHeader ? 12 : 40;
  std::string out = "BM";
  put(out, static_cast<std::uint32_t>(14 + headerSize + extra + pixelBytes), 4);
  put(out, 0, 4);
  put(out, static_cast<std::uint32_t>(14 + headerSize + extra), 4);
  put(out, static_cast<std::uint32_t>(headerSize), 4);
  const int height = form.topDown ? -picture.height : picture.height;
  put(out, static_cast<std::uint32_t>(picture.width), form.coreHeader ? 2 : 4);
  put(out, static_cast<std::uint32_t>(height), form.coreHeader ? 2 : 4);
  put(out, 1, 2);
  put(out, static_cast<std::uint32_t>(form.bits), 2);
  if (form.coreHeader) return out;
  put(out, form.bitfields ? 3 : 0, 4);
  put(out, static_cast<std::uint32_t>(pixelBytes), 4);
  put(out, 2835, 4);
  put(out, 2835, 4);
  put(out, 0, 4);
  put(out, 0, 4);
  return out;
}

void putBmpPixel(std::string& row, const BmpForm& form, Colour c, std::size_t index, int x) {
  if (form.bits <= 8) {
    const int bit = x * form.bits;
    row[static_cast<std::size_t>(bit / 8)] |= static_cast<char>(index << (8 - form.bits - bit % 8));
  } else if (form.bits == 16) {  // 5-6-5
    put(row, static_cast<std::uint32_t>((c[0] >> 3) << 11 | (c[1] >> 2) << 5 | c[2] >> 3), 2);
  } else {
    row += static_cast<char>(c[2]);
    row += static_cast<char>(c[1]);
    row += static_cast<char>(c[0]);
    if (form.bits == 32) row += static_cast<char>(c[3]);
  }
}

}  // namespace

RgbaPicture drawnPicture(const std::vector<std::string>& rows) {
  RgbaPicture picture{static_cast<int>(rows.front().size()), static_cast<int>(rows.size()), {}};
  for (const std::string& row : rows) {
    for (const char c : row) {
      const std::uint8_t v = c == '#' ? 0 : 0xFF;
      picture.rgba.insert(picture.rgba.end(), {v, v, v, static_cast<std::uint8_t>(c == ' ' ? 0 : 0xFF)});
    }
  }
  return picture;
}

RgbaPicture greyPicture(int width, int height, std::uint8_t grey, std::uint8_t alpha) {
  RgbaPicture picture{width, height, {}};
  for (int i = 0; i < width * height; ++i) picture.rgba.insert(picture.rgba.end(), {grey, grey, grey, alpha});
  return picture;
}

std::string pngFile(const RgbaPicture& picture) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, picture.rgba.data(), 0, nullptr)) {
    throw std::runtime_error(image.message);
  }
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, picture.rgba.data(), 0, nullptr)) {
    throw std::runtime_error(image.message);
  }
  out.resize(size);
  return out;
}

std::string jpegFile(const RgbaPicture& picture) {
  jpeg_compress_struct jpeg{};
  jpeg_error_mgr errors{};
  jpeg.err = jpeg_std_error(&errors);
  jpeg_create_compress(&jpeg);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&jpeg, &buffer, &size);
  jpeg.image_width = static_cast<JDIMENSION>(picture.width);
  jpeg.image_height = static_cast<JDIMENSION>(picture.height);
  jpeg.input_components = 4;
  jpeg.in_color_space = JCS_EXT_RGBA;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, 100, TRUE);
  jpeg_start_compress(&jpeg, TRUE);
  while (jpeg.next_scanline < jpeg.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(picture.rgba.data()) + std::size_t{jpeg.next_scanline} * picture.width * 4;
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

std::string gifFile(const RgbaPicture& picture) {
  const std::vector<Colour> colours = paletteOf(picture);
  int bits = 1;
  while ((1U << bits) < colours.size()) ++bits;
  std::vector<GifColorType> table(std::size_t{1} << bits, GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < colours.size(); ++i) table[i] = {colours[i][0], colours[i][1], colours[i][2]};
  std::string out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, appendGif, &error);
  ColorMapObject* map = GifMakeMapObject(1 << bits, table.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, picture.width, picture.height, bits, 0, map);
  const auto transparent = indexOf(colours, {0, 0, 0, 0});
  GraphicsControlBlock control{0, false, 0,
                               transparent < colours.size() ? static_cast<int>(transparent) : NO_TRANSPARENT_COLOR};
  GifByteType block[4];
  EGifGCBToExtension(&control, block);
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block);
  EGifPutImageDesc(gif, 0, 0, picture.width, picture.height, false, nullptr);
  std::vector<GifPixelType> line(static_cast<std::size_t>(picture.width));
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(
          indexOf(colours, colourAt(picture, static_cast<std::size_t>(y * picture.width + x))));
    }
    EGifPutLine(gif, line.data(), picture.width);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
  return out;
}

std::string bmpFile(const RgbaPicture& picture, const BmpForm& form) {
  const std::vector<Colour> colours = form.bits <= 8 ? paletteOf(picture) : std::vector<Colour>{};
  std::string extra;
  for (const Colour& c : colours) {
    extra += std::string{static_cast<char>(c[2]), static_cast<char>(c[1]), static_cast<char>(c[0])};
    if (!form.coreHeader) extra += '\0';
  }
  if (form.bitfields) {
    put(extra, form.bits == 16 ? 0xF800 : 0xFF0000, 4);
    put(extra, form.bits == 16 ? 0x07E0 : 0x00FF00, 4);
    put(extra, form.bits == 16 ? 0x001F : 0x0000FF, 4);
  }
  const std::size_t stride =
      (static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(form.bits) + 31) / 32 * 4;
  std::string pixels;
  for (int stored = 0; stored < picture.height; ++stored) {
    const int y = form.topDown ? stored : picture.height - 1 - stored;
    std::string row(form.bits <= 8 ? stride : 0, '\0');
    for (int x = 0; x < picture.width; ++x) {
      const Colour c = colourAt(picture, static_cast<std::size_t>(y * picture.width + x));
      putBmpPixel(row, form, c, form.bits <= 8 ? indexOf(colours, c) : 0, x);
    }
    row.resize(stride, '\0');
    pixels += row;
  }
  return bmpHeaders(picture, form, extra.size(), pixels.size()) + extra + pixels;
}

std::vector<std::uint8_t> bytesOf(const std::string& file) { return {file.begin(), file.end()}; }

}  // namespace lumadot::test
