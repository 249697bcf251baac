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

// On Windows a folder given with '/' and a name joined to it by operator/
// would read build/bin\asc16: a path with both separators is shown with '/'
// alone, as it was given. One with a single kind is shown as it stands.
inline std::string utf8Path(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::wstring& native = path.native();
  const bool mixed = native.find(L'/') != std::wstring::npos && native.find(L'\\') != std::wstring::npos;
  const std::u8string text = mixed ? path.generic_u8string() : path.u8string();
#else
  const std::u8string text = path.u8string();
#endif
  return std::string(text.begin(), text.end());
}

}  // namespace lumadot
