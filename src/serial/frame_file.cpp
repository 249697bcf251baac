#include "serial/frame_file.h"

#include "base/file_writer.h"

namespace lumadot {

Result<void> FrameFile::open() {
  m_written.resize(m_frameStart);
  m_isOpen = true;
  return {};
}

Result<void> FrameFile::write(std::span<const std::uint8_t> bytes) {
  if (!m_isOpen) return Failure("the frame was written before it was opened");
  m_written.insert(m_written.end(), bytes.begin(), bytes.end());
  return {};
}

void FrameFile::abandon() {
  m_isOpen = false;
  m_written.resize(m_frameStart);
}

Result<void> FrameFile::close() {
  if (!m_isOpen) return {};
  m_isOpen = false;
  if (auto replaced = replaceFile(m_path, m_written); !replaced) {
    m_written.resize(m_frameStart);
    // The transmission names the file itself; a device gives only the reason.
    return Failure(replaced.error().detail).because(replaced.error().cause);
  }
  m_frameStart = m_written.size();
  return {};
}

}  // namespace lumadot
