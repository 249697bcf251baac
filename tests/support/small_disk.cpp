#include "support/small_disk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace lumadot::test {

SmallDisk::SmallDisk() {
  if (::geteuid() != 0) {
    m_unavailable = "mounting a small tmpfs as a full disk needs root";
  } else if (::mount("tmpfs", path().c_str(), "tmpfs", 0, "size=64k") != 0) {
    m_unavailable = std::string("cannot mount a small tmpfs as a full disk: ") + std::strerror(errno);
  }
}

SmallDisk::~SmallDisk() {
  if (!m_unavailable.empty()) return;
  // A program a failed test left running keeps it busy; detached, it goes once that ends.
  if (::umount(path().c_str()) != 0) ::umount2(path().c_str(), MNT_DETACH);
}

void SmallDisk::fill() const {
  const int fd = ::open((path() / kFiller).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error(std::string("cannot fill the small disk: ") + std::strerror(errno));
  const std::vector<char> page(4096, 'x');
  while (::write(fd, page.data(), page.size()) > 0) {
  }
  const int error = errno;
  ::close(fd);
  if (error != ENOSPC) throw std::runtime_error(std::string("cannot fill the small disk: ") + std::strerror(error));
}

}  // namespace lumadot::test
