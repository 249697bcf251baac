#include "support/serial_line.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace lumadot::test {

SerialLine::SerialLine() : m_pc((m_dir.path() / "pc").string()), m_sign((m_dir.path() / "sign").string()) {
  const std::string pc = "pty,raw,echo=0,link=" + m_pc;
  const std::string sign = "pty,raw,echo=0,link=" + m_sign;
  char* args[] = {const_cast<char*>("socat"), const_cast<char*>(pc.c_str()), const_cast<char*>(sign.c_str()),
                  nullptr};
  if (posix_spawnp(&m_socat, "socat", nullptr, nullptr, args, environ) != 0) {
    throw std::runtime_error("cannot start socat (Debian package socat)");
  }
  for (int tries = 0; tries < 500; ++tries) {
    if (std::filesystem::exists(m_pc) && std::filesystem::exists(m_sign)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  cut();
  throw std::runtime_error("socat made no pseudo-terminals within 5 s");
}

SerialLine::~SerialLine() { cut(); }

void SerialLine::send(const std::vector<std::uint8_t>& bytes) const {
  const int fd = ::open(m_pc.c_str(), O_WRONLY | O_NOCTTY);
  if (fd < 0) throw std::runtime_error("open " + m_pc + ": " + std::strerror(errno));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written <= 0) break;
    done += static_cast<std::size_t>(written);
  }
  ::tcdrain(fd);
  ::close(fd);
  if (done != bytes.size()) throw std::runtime_error("write " + m_pc + " failed");
}

void SerialLine::awaitListener() const {
  namespace fs = std::filesystem;
  const fs::path end = fs::canonical(m_sign);
  // Processes come and go while /proc is read: an error ends that listing, never the wait.
  const auto anyEntry = [](const fs::path& folder, const auto& matches) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error); !error && it != fs::directory_iterator(); it.increment(error)) {
      if (matches(it->path())) return true;
    }
    return false;
  };
  const auto listening = [&] {
    return anyEntry("/proc", [&](const fs::path& process) {
      const std::string pid = process.filename().string();
      if (pid.find_first_not_of("0123456789") != std::string::npos || pid == std::to_string(m_socat)) return false;
      return anyEntry(process / "fd", [&](const fs::path& fd) {
        std::error_code error;
        return fs::read_symlink(fd, error) == end;
      });
    });
  };
  for (int tries = 0; tries < 3000; ++tries) {
    if (listening()) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  throw std::runtime_error("nothing opened " + m_sign + " within 30 s");
}

void SerialLine::cut() {
  if (m_socat <= 0) return;
  ::kill(m_socat, SIGTERM);
  int status = 0;
  ::waitpid(m_socat, &status, 0);
  m_socat = -1;
}

std::string signDrawing(const std::string& previewDrawing, std::size_t dots) {
  std::istringstream rows(previewDrawing);
  std::string padded;
  for (std::string row; std::getline(rows, row);) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < row.size(); i += static_cast<unsigned char>(row[i]) >= 0xE0 ? 3 : 2) ++width;
    for (; width < dots; ++width) row += "\u00B7";
    padded += row + "\n";
  }
  return padded;
}

}  // namespace lumadot::test
