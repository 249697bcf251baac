#include "extract/font_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "base/utf8_path.h"
#include "extract/text_codec.h"

namespace lumadot {
namespace {

std::string systemErrorText(int error) {
  switch (error) {
    case ENOENT: return "文件不存在";
    case EACCES:
    case EPERM: return "没有读取权限";
    case EISDIR: return "这是一个文件夹";
    default: return std::strerror(error);
  }
}

// The path as valid UTF-8, whatever bytes the file system holds.
std::string quotedPath(const std::filesystem::path& path) {
  return "“" + utf16ToUtf8(utf8ToUtf16(utf8Path(path))) + "”";
}

std::string notFoundIn(const std::filesystem::path& name, const std::vector<std::filesystem::path>& folders) {
  std::string text = "找不到字库文件" + quotedPath(name) + "，找过：";
  for (std::size_t i = 0; i < folders.size(); ++i) text += (i == 0 ? "" : "、") + quotedPath(folders[i]);
  return text;
}

}  // namespace

FontFile::FontFile(std::filesystem::path path, std::size_t layoutSize, std::vector<std::filesystem::path> lookedIn)
    : m_path(std::move(path)), m_layoutSize(layoutSize), m_lookedIn(std::move(lookedIn)) {}

Result<void> FontFile::load() {
  errno = 0;
#ifdef _WIN32
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(_wfopen(m_path.c_str(), L"rb"), &std::fclose);
#else
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(m_path.c_str(), "rb"), &std::fclose);
#endif
  // Windows refuses to open a folder as "access denied", which would send the user to its permissions.
  std::error_code ec;
  if (!file && errno == EACCES && std::filesystem::is_directory(m_path, ec)) errno = EISDIR;
  if (!file && errno == ENOENT && !m_lookedIn.empty()) return Failure(notFoundIn(m_path.filename(), m_lookedIn)).in(FailureCategory::font);
  if (!file) return Failure("无法打开字库文件" + quotedPath(m_path) + "：" + systemErrorText(errno)).in(FailureCategory::font);
  std::vector<std::uint8_t> bytes(m_layoutSize);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (std::ferror(file.get())) return Failure("读取字库文件" + quotedPath(m_path) + "失败：" + systemErrorText(errno)).in(FailureCategory::font);
  bytes.resize(got);  // a short file is fine: the rest reads as 0
  m_bytes = std::move(bytes);
  return {};
}

Result<void> FontFile::read(std::uint64_t offset, std::span<std::uint8_t> out) {
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  if (!m_bytes && !m_failure) {
    if (auto loaded = load(); !loaded) m_failure = loaded.error();
  }
  if (m_failure) return *m_failure;
  const std::uint64_t size = m_bytes->size();
  if (offset >= size) return {};
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), size - offset));
  std::copy_n(m_bytes->begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
  return {};
}

}  // namespace lumadot
