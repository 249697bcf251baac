#include "serial/frame_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumadot {

Result<void> FrameFile::open() {
  m_frame.clear();
  m_isOpen = true;
  return {};
}

Result<void> FrameFile::write(std::span<const std::uint8_t> bytes) {
  if (!m_isOpen) return Failure("the frame was written before it was opened");
  m_frame.insert(m_frame.end(), bytes.begin(), bytes.end());
  return {};
}

void FrameFile::abandon() {
  m_isOpen = false;
  m_frame.clear();
}

Result<void> FrameFile::close() {
  if (!m_isOpen) return {};
  m_isOpen = false;
#ifdef _WIN32
  std::FILE* file = _wfopen(m_path.c_str(), m_replaced ? L"ab" : L"wb");
#else
  std::FILE* file = std::fopen(m_path.c_str(), m_replaced ? "ab" : "wb");
#endif
  if (!file) return Failure(std::strerror(errno));
  const bool written = m_frame.empty() || std::fwrite(m_frame.data(), 1, m_frame.size(), file) == m_frame.size();
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    return Failure(std::strerror(written ? errno : writeError));
  }
  m_replaced = true;
  return {};
}

}  // namespace lumadot
