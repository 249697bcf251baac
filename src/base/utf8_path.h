#pragma once

// Paths to and from the UTF-8 the programs speak. On Windows a
// std::filesystem::path made from a std::string reads it in the narrow code
// page, so 帧.bin would become å¸§.bin; through char8_t it is UTF-8 everywhere.

#include <filesystem>
#include <string>
#include <string_view>

namespace lumadot {

inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Path(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace lumadot
