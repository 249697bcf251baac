#include "picture/picture.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "picture/picture_decoders.h"

namespace lumadot {
namespace picture_detail {

Failure damaged(const std::string& name, const char* type, const std::string& why) {
  return Failure(name + ": the " + type + " is damaged (" + why + ")").because({CauseKind::pictureDamaged, why});
}

Failure truncated(const std::string& name, const char* type) {
  return Failure(name + ": the " + type + " is truncated").because({CauseKind::pictureTruncated});
}

std::optional<Failure> sizeRefusal(const std::string& name, std::uint64_t width, std::uint64_t height) {
  const Cause cause{CauseKind::pictureSize, {},
                    {static_cast<std::int64_t>(width), static_cast<std::int64_t>(height), kMaxPictureSide,
                     kMaxPicturePixels >> 20}};
  if (width == 0 || height == 0) {
    return Failure(name + ": the picture has no pixels (" + std::to_string(width) + " x " + std::to_string(height) +
                   ")")
        .because(cause);
  }
  if (width <= kMaxPictureSide && height <= kMaxPictureSide && width * height <= kMaxPicturePixels) return {};
  return Failure(name + ": the picture is too large (" + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels; at most " + std::to_string(kMaxPictureSide) + " a side and " +
                 std::to_string(kMaxPicturePixels >> 20) + " Mi pixels in all)")
      .because(cause);
}

RgbaPicture blankPicture(int width, int height) {
  return {width, height,
          std::vector<std::uint8_t>(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4, 0xFF)};
}

}  // namespace picture_detail

namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::string_view signature) {
  return bytes.size() >= signature.size() &&
         std::equal(signature.begin(), signature.end(), bytes.begin(),
                    [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
}

}  // namespace

std::optional<PictureType> pictureType(std::span<const std::uint8_t> bytes) {
  if (startsWith(bytes, {"\x89PNG\r\n\x1A\n", 8})) return PictureType::png;
  if (startsWith(bytes, "GIF87a") || startsWith(bytes, "GIF89a")) return PictureType::gif;
  if (startsWith(bytes, "\xFF\xD8\xFF")) return PictureType::jpeg;
  if (startsWith(bytes, "BM")) return PictureType::bmp;
  return std::nullopt;
}

namespace {

Result<RgbaPicture> decodeAny(std::span<const std::uint8_t> bytes, const std::string& name) {
  using namespace picture_detail;
  const auto type = pictureType(bytes);
  if (type == PictureType::png) return decodePng(bytes, name);
  if (type == PictureType::bmp) return decodeBmp(bytes, name);
  if (type == PictureType::gif) return decodeGif(bytes, name);
  if (type == PictureType::jpeg) return decodeJpeg(bytes, name);
  return Failure(name + ": not a PNG, BMP, GIF or JPEG picture").because({CauseKind::notAPicture});
}

}  // namespace

Result<RgbaPicture> decodePicture(std::span<const std::uint8_t> bytes, const std::string& name) {
  auto decoded = decodeAny(bytes, name);
  if (!decoded) return Failure(decoded.error()).as(FailureKind::pictureRead, name);
  return decoded;
}

// Rec. 601 luma, then "over white": what the pixel looks like on white paper.
GreyPicture greyOf(const RgbaPicture& picture) {
  GreyPicture grey{picture.width, picture.height, std::vector<std::uint8_t>(picture.rgba.size() / 4)};
  for (std::size_t i = 0; i < grey.grey.size(); ++i) {
    const std::uint8_t* p = &picture.rgba[i * 4];
    const unsigned luma = (299U * p[0] + 587U * p[1] + 114U * p[2] + 500U) / 1000U;
    const unsigned alpha = p[3];
    grey.grey[i] = static_cast<std::uint8_t>((luma * alpha + 255U * (255U - alpha) + 127U) / 255U);
  }
  return grey;
}

Result<GreyPicture> readPicture(std::span<const std::uint8_t> bytes, const std::string& name) {
  auto decoded = decodePicture(bytes, name);
  if (!decoded) return decoded.error();
  return greyOf(*decoded);
}

}  // namespace lumadot
