#include "serial/frame_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumadot {

bool FrameFile::open() {
  m_frame.clear();
  m_isOpen = true;
  return true;
}

bool FrameFile::write(std::span<const std::uint8_t> bytes) {
  if (!m_isOpen) return false;
  m_frame.insert(m_frame.end(), bytes.begin(), bytes.end());
  return true;
}

void FrameFile::abandon() {
  m_isOpen = false;
  m_frame.clear();
}

bool FrameFile::close() {
  if (!m_isOpen) return true;
  m_isOpen = false;
  m_error.clear();
#ifdef _WIN32
  std::FILE* file = _wfopen(m_path.c_str(), m_replaced ? L"ab" : L"wb");
#else
  std::FILE* file = std::fopen(m_path.c_str(), m_replaced ? "ab" : "wb");
#endif
  if (!file) {
    m_error = "cannot write " + m_path.string() + ": " + std::strerror(errno);
    return false;
  }
  const bool written = m_frame.empty() || std::fwrite(m_frame.data(), 1, m_frame.size(), file) == m_frame.size();
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    m_error = "cannot write " + m_path.string() + ": " + std::strerror(written ? errno : writeError);
    return false;
  }
  m_replaced = true;
  return true;
}

}  // namespace lumadot
