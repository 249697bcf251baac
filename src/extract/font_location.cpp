#include "extract/font_location.h"

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

#include "base/utf8_path.h"

namespace lumadot {
namespace {

bool hasSize(const std::filesystem::path& file, std::size_t size) {
  std::error_code ec;
  return std::filesystem::is_regular_file(file, ec) && std::filesystem::file_size(file, ec) == size && !ec;
}

// The size and charset a double-byte file's name gives ("hzk24", "gbk16"), spelled as the programs name it.
std::optional<BuiltFont> doubleByteFileFont(const std::string& name) {
  for (const Charset charset : {Charset::gb2312, Charset::gbk}) {
    const std::string prefix = doubleByteFileName({}, charset).substr(0, 3);
    if (!name.starts_with(prefix)) continue;
    const auto cell = CellSize::named(std::string_view(name).substr(prefix.size()));
    if (cell && doubleByteFileName(*cell, charset) == name) return BuiltFont{*cell, charset};
  }
  return std::nullopt;
}

}  // namespace

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

std::vector<BuiltFont> builtFonts(const std::filesystem::path& dir) {
  std::vector<BuiltFont> fonts;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const auto font = doubleByteFileFont(utf8Path(entry.path().filename()));
    if (font && hasSize(entry.path(), doubleByteFileSize(font->cell, font->charset)) &&
        hasSize(dir / singleByteFileName(font->cell), singleByteFileSize(font->cell))) {
      fonts.push_back(*font);
    }
  }
  const auto order = [](const BuiltFont& f) {
    return std::tuple(f.cell != CellSize{}, f.cell.height, f.cell.width, f.charset);
  };
  std::sort(fonts.begin(), fonts.end(), [&](const BuiltFont& a, const BuiltFont& b) { return order(a) < order(b); });
  return fonts;
}

}  // namespace lumadot
