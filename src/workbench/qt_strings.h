#pragma once

// Our values' UTF-8 and UTF-16 text as Qt's strings, and a path the user chose as a path.

#include <QString>
#include <filesystem>
#include <string_view>

namespace lumadot {

inline QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
inline QString qs(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::filesystem::path pathOf(const QString& path) { return std::filesystem::path(path.toStdU16String()); }

}  // namespace lumadot
