// libpng reports errors by longjmp: the frames that call into it hold
// nothing with a destructor, and every failure comes back as a message in
// PngInput, turned into a Failure only once libpng's frames are gone.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "picture/picture_decoders.h"

namespace lumadot::picture_detail {
namespace {

struct PngInput {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t at = 0;
  bool truncated = false;
  bool tooLarge = false;
  char message[160] = {};
  std::jmp_buf jump;
};

PngInput& inputOf(png_structp png) { return *static_cast<PngInput*>(png_get_error_ptr(png)); }

[[noreturn]] void onError(png_structp png, png_const_charp message) {
  PngInput& input = inputOf(png);
  std::strncpy(input.message, message != nullptr ? message : "unknown error", sizeof input.message - 1);
  std::longjmp(input.jump, 1);
}

void onWarning(png_structp, png_const_charp) {}  // a warning still gives a picture

void readBytes(png_structp png, png_bytep out, png_size_t count) {
  PngInput& input = *static_cast<PngInput*>(png_get_io_ptr(png));
  if (count > input.size - input.at) {
    input.truncated = true;
    png_error(png, "truncated");
  }
  std::memcpy(out, input.data + input.at, count);
  input.at += count;
}

// Every form of PNG as 8-bit RGBA.
void askForRgba(png_structp png, png_infop info) {
  png_set_expand(png);  // palette and low-bit grey to 8 bits, tRNS to alpha
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
}

// False with input.message set when libpng failed; `out` is filled otherwise.
bool readPng(PngInput& input, png_structp png, png_infop info, RgbaPicture& out, const std::string& name) {
  if (setjmp(input.jump) != 0) return false;
  png_set_read_fn(png, &input, readBytes);
  png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);  // our own limit, below, names the size
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (sizeRefusal(name, width, height)) {
    input.tooLarge = true;
    return false;
  }
  const int passes = png_set_interlace_handling(png);
  askForRgba(png, info);
  out = blankPicture(static_cast<int>(width), static_cast<int>(height));
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, out.rgba.data() + std::size_t{y} * width * 4, nullptr);
  }
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

Result<RgbaPicture> decodePng(std::span<const std::uint8_t> bytes, const std::string& name) {
  PngInput input;
  input.data = bytes.data();
  input.size = bytes.size();
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, onError, onWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return damaged(name, "PNG", "out of memory");
  }
  RgbaPicture picture;
  const bool read = readPng(input, png, info, picture, name);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  png_destroy_read_struct(&png, &info, nullptr);
  if (read) return picture;
  if (input.tooLarge) return sizeRefusal(name, width, height).value_or(damaged(name, "picture", "too large"));
  if (input.truncated) return truncated(name, "PNG");
  return damaged(name, "PNG", input.message);
}

}  // namespace lumadot::picture_detail
