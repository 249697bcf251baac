#include "extract/font_location.h"

#include <system_error>
#include <utility>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

namespace lumadot {

std::filesystem::path programDirectory() {
#ifdef _WIN32
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return std::filesystem::current_path();
    if (n < buf.size()) return std::filesystem::path(std::wstring(buf.data(), n)).parent_path();
    buf.resize(buf.size() * 2);
  }
#else
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec);
  return exe.parent_path();
#endif
}

std::vector<std::filesystem::path> fontFolders(const std::filesystem::path& programDir) {
  return {programDir, programDir.parent_path() / "share" / "lumadot"};
}

FontPaths locateFonts(const std::filesystem::path& chosenDir, const std::filesystem::path& programDir, CellSize cell,
                      Charset charset) {
  if (!chosenDir.empty()) return FontPaths::inDirectory(chosenDir, cell, charset);
  std::vector<std::filesystem::path> folders = fontFolders(programDir);
  for (const auto& folder : folders) {
    FontPaths fonts = FontPaths::inDirectory(folder, cell, charset);
    std::error_code ec;
    if (std::filesystem::is_regular_file(fonts.asc16, ec) && std::filesystem::is_regular_file(fonts.hzk16, ec)) {
      return fonts;
    }
  }
  FontPaths fonts = FontPaths::inDirectory(folders.front(), cell, charset);
  fonts.lookedIn = std::move(folders);
  return fonts;
}

}  // namespace lumadot
