// libjpeg's own error_exit calls exit(): ours longjmps back instead, and the
// frames in between hold nothing with a destructor. A file that ends early
// is only a warning to libjpeg (it pads with grey); here it is truncated.
// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <jerror.h>
#include <jpeglib.h>
// clang-format on

#include <csetjmp>

#include "picture/picture_decoders.h"

namespace lumadot::picture_detail {
namespace {

struct JpegErrors {
  jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to this
  bool truncated = false;
  bool tooLarge = false;
  char message[JMSG_LENGTH_MAX] = {};
  std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr jpeg) {
  auto* errors = reinterpret_cast<JpegErrors*>(jpeg->err);
  (*jpeg->err->format_message)(jpeg, errors->message);
  std::longjmp(errors->jump, 1);
}

void onMessage(j_common_ptr jpeg, int level) {
  auto* errors = reinterpret_cast<JpegErrors*>(jpeg->err);
  if (level < 0 && jpeg->err->msg_code == JWRN_JPEG_EOF) errors->truncated = true;
}

// False when libjpeg failed or the picture is refused; `out` is filled otherwise.
bool readJpeg(jpeg_decompress_struct& jpeg, JpegErrors& errors, std::span<const std::uint8_t> bytes, RgbaPicture& out,
              const std::string& name) {
  if (setjmp(errors.jump) != 0) return false;
  jpeg_create_decompress(&jpeg);
  jpeg_mem_src(&jpeg, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&jpeg, TRUE);
  if (sizeRefusal(name, jpeg.image_width, jpeg.image_height)) {
    errors.tooLarge = true;
    return false;
  }
  jpeg.out_color_space = JCS_EXT_RGBA;
  jpeg_start_decompress(&jpeg);
  out = blankPicture(static_cast<int>(jpeg.output_width), static_cast<int>(jpeg.output_height));
  while (!errors.truncated && jpeg.output_scanline < jpeg.output_height) {
    JSAMPROW row = out.rgba.data() + std::size_t{jpeg.output_scanline} * jpeg.output_width * 4;
    jpeg_read_scanlines(&jpeg, &row, 1);
  }
  if (!errors.truncated) jpeg_finish_decompress(&jpeg);
  return !errors.truncated;
}

}  // namespace

Result<RgbaPicture> decodeJpeg(std::span<const std::uint8_t> bytes, const std::string& name) {
  jpeg_decompress_struct jpeg{};
  JpegErrors errors;
  jpeg.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = onError;
  errors.manager.emit_message = onMessage;
  RgbaPicture picture;
  const bool read = readJpeg(jpeg, errors, bytes, picture, name);
  const auto width = jpeg.image_width;
  const auto height = jpeg.image_height;
  jpeg_destroy_decompress(&jpeg);
  if (read) return picture;
  if (errors.tooLarge) return sizeRefusal(name, width, height).value_or(damaged(name, "picture", "too large"));
  if (errors.truncated) return truncated(name, "JPEG");
  return damaged(name, "JPEG", errors.message);
}

}  // namespace lumadot::picture_detail
