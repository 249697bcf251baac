#pragma once

// One decoder per type, behind decodePicture. Each fails in the words
// decodePicture promises, through the helpers below.

#include <cstdint>
#include <span>
#include <string>

#include "base/result.h"
#include "picture/picture.h"

namespace lumadot::picture_detail {

Result<RgbaPicture> decodePng(std::span<const std::uint8_t> bytes, const std::string& name);
Result<RgbaPicture> decodeBmp(std::span<const std::uint8_t> bytes, const std::string& name);
Result<RgbaPicture> decodeGif(std::span<const std::uint8_t> bytes, const std::string& name);
Result<RgbaPicture> decodeJpeg(std::span<const std::uint8_t> bytes, const std::string& name);

// "NAME: the PNG is damaged (why)".
Failure damaged(const std::string& name, const char* type, const std::string& why);
// "NAME: the PNG is truncated".
Failure truncated(const std::string& name, const char* type);
// Empty when a picture of width x height may be allocated, else the failure's text.
std::optional<Failure> sizeRefusal(const std::string& name, std::uint64_t width, std::uint64_t height);
// A picture of width x height, every pixel opaque white; sizeRefusal must have allowed it.
RgbaPicture blankPicture(int width, int height);

}  // namespace lumadot::picture_detail
