#include "extract/font_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <utility>

namespace lumadot {

FontFile::FontFile(std::filesystem::path path, std::size_t layoutSize)
    : m_path(std::move(path)), m_layoutSize(layoutSize) {}

FontStatus FontFile::load() {
  errno = 0;
#ifdef _WIN32
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(_wfopen(m_path.c_str(), L"rb"), &std::fclose);
#else
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(m_path.c_str(), "rb"), &std::fclose);
#endif
  if (!file) {
    m_systemError = errno;
    return FontStatus::openFailed;
  }
  std::vector<std::uint8_t> bytes(m_layoutSize);
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
  if (std::ferror(file.get())) {
    m_systemError = errno;
    return FontStatus::readFailed;
  }
  bytes.resize(got);  // a short file is fine: the rest reads as 0
  m_bytes = std::move(bytes);
  return FontStatus::ok;
}

FontStatus FontFile::read(std::uint64_t offset, std::span<std::uint8_t> out) {
  std::fill(out.begin(), out.end(), std::uint8_t{0});
  // A failure sticks for the rest of the run, which stops at it anyway.
  if (!m_bytes && m_status == FontStatus::ok) m_status = load();
  if (m_status != FontStatus::ok) return m_status;
  const std::uint64_t size = m_bytes->size();
  if (offset >= size) return FontStatus::ok;
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(out.size(), size - offset));
  std::copy_n(m_bytes->begin() + static_cast<std::ptrdiff_t>(offset), count, out.begin());
  return FontStatus::ok;
}

}  // namespace lumadot
