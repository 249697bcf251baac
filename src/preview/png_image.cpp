#include "preview/png_image.h"

#include <png.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstddef>
#include <cstring>
#include <vector>

#include "preview/dot_raster.h"

namespace lumadot {

namespace {

// Gap is index 0 so a gap row is all zero bytes, which the Up filter and deflate make almost nothing of.
// The seam's colour only where there are seams, so a picture without them is the file it always was.
constexpr std::array<PngColour, 4> kPalette{kDotGapColour, kDarkDotColour, kLitDotColour, kSeamColour};
constexpr std::size_t kMaxPngDimension = 0x7FFFFFFF;

// libpng reports errors by longjmp: the frame that calls into it holds
// nothing with a destructor, and the message waits here until it is gone.
struct PngOutput {
  std::string* png = nullptr;
  char message[160] = {};
  std::jmp_buf jump;
};

[[noreturn]] void onError(png_structp png, png_const_charp message) {
  auto& output = *static_cast<PngOutput*>(png_get_error_ptr(png));
  std::strncpy(output.message, message != nullptr ? message : "unknown error", sizeof output.message - 1);
  std::longjmp(output.jump, 1);
}

void onWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep bytes, png_size_t count) {
  static_cast<PngOutput*>(png_get_io_ptr(png))->png->append(reinterpret_cast<const char*>(bytes), count);
}

void flushNothing(png_structp) {}

void writeHeader(png_structp png, png_infop info, std::size_t width, std::size_t height, std::size_t colours) {
  std::array<png_color, kPalette.size()> palette{};
  // All of them, though only `colours` are written: a count-bounded loop trips GCC's -O3 overflow check.
  for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = {kPalette[i].red, kPalette[i].green, kPalette[i].blue};
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_PLTE(png, info, palette.data(), static_cast<int>(colours));
  // The rows of one square repeat: Up makes them zeros; None suits the rest.
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE | PNG_FILTER_UP);
  png_write_info(png, info);
}

struct PngRows {
  std::size_t dotSize;
  std::span<const int> seams;
  std::uint8_t* dotRow;
  const std::uint8_t* gapRow;
};

// False with output.message set when libpng fails. Each row is written as
// it is drawn, so a picture a million pixels wide never needs all its rows at once.
bool writePng(PngOutput& output, png_structp png, png_infop info, const DotPicture& picture, const PngRows& rows) {
  if (setjmp(output.jump) != 0) return false;
  png_set_write_fn(png, &output, appendBytes, flushNothing);
  // libpng's own limit is a million pixels a side; a full run at scale 32 is wider.
  png_set_user_limits(png, kMaxPngDimension, kMaxPngDimension);
  const auto [dotSize, seams, dotRow, gapRow] = rows;
  const std::size_t gap = dotGap(dotSize);
  writeHeader(png, info, static_cast<std::size_t>(picture.width()) * dotSize,
              static_cast<std::size_t>(picture.height()) * dotSize,
              showsSeams(seams, picture.width(), dotSize) ? kPalette.size() : kPalette.size() - 1);
  for (int y = 0; y < picture.height(); ++y) {
    rasterDotRow(picture, y, 0, picture.width(), dotSize, dotRow);
    markSeams(seams, picture.width(), 0, picture.width(), dotSize, dotRow);
    for (std::size_t row = 0; row < dotSize - gap; ++row) png_write_row(png, dotRow);
    if (gap != 0) png_write_row(png, gapRow);
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

Result<std::string> pngImage(const DotPicture& picture, int scale, std::span<const int> seams) {
  std::string png;
  if (picture.width() == 0) return png;

  const auto dotSize = static_cast<std::size_t>(std::clamp(scale, kMinPngScale, kMaxPngScale));
  const std::size_t width = static_cast<std::size_t>(picture.width()) * dotSize;
  if (width > kMaxPngDimension) return Failure("cannot make the PNG: the picture is too wide");

  PngOutput output;
  output.png = &png;
  png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, &output, onError, onWarning);
  png_infop info = writer != nullptr ? png_create_info_struct(writer) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&writer, nullptr);
    return Failure("cannot make the PNG: libpng: out of memory");
  }
  std::vector<std::uint8_t> dotRow(width);
  std::vector<std::uint8_t> gapRow(width, kGapPixel);
  markSeams(seams, picture.width(), 0, picture.width(), dotSize, gapRow.data());
  const bool written = writePng(output, writer, info, picture, {dotSize, seams, dotRow.data(), gapRow.data()});
  png_destroy_write_struct(&writer, &info);
  if (!written) return Failure("cannot make the PNG: libpng: " + std::string(output.message));
  return png;
}

}  // namespace lumadot
