#include "support/pseudo_terminal.h"

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace lumadot::test {

PseudoTerminal::PseudoTerminal(FarEnd farEnd) {
  char name[128] = {};
  if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) {
    throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
  }
  m_path = name;
  termios raw{};
  ::tcgetattr(m_slave, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(m_slave, TCSANOW, &raw);
  // Stopped before the constructor returns: from the reader's thread, a write
  // made at once could pass before the stop.
  if (farEnd.outputStoppedFor.count() > 0 || farEnd.outputStoppedUntilReleased) ::tcflow(m_slave, TCOOFF);
  m_reader = std::thread(&PseudoTerminal::readLoop, this, farEnd);
}

PseudoTerminal::~PseudoTerminal() {
  m_stop = true;
  m_reader.join();
  ::tcflow(m_slave, TCOON);
  if (m_master >= 0) ::close(m_master);
  ::close(m_slave);
}

void PseudoTerminal::readLoop(FarEnd farEnd) {
  const auto start = std::chrono::steady_clock::now();
  bool stopped = farEnd.outputStoppedFor.count() > 0 && !farEnd.outputStoppedUntilReleased;
  std::uint8_t chunk[4096];
  while (!m_stop) {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (stopped && elapsed >= farEnd.outputStoppedFor) {
      ::tcflow(m_slave, TCOON);
      stopped = false;
    }
    if (farEnd.hangUpAfter && elapsed >= *farEnd.hangUpAfter) {
      ::close(m_master);
      m_master = -1;
      return;
    }
    pollfd ready{m_master, POLLIN, 0};
    if (::poll(&ready, 1, 5) <= 0) continue;
    const ssize_t n = ::read(m_master, chunk, sizeof chunk);
    if (n <= 0) continue;  // EIO while no one has the slave open
    const std::lock_guard lock(m_mutex);
    m_received.insert(m_received.end(), chunk, chunk + n);
  }
}

std::vector<std::uint8_t> PseudoTerminal::received(std::size_t count, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    {
      const std::lock_guard lock(m_mutex);
      if (m_received.size() >= count || std::chrono::steady_clock::now() >= deadline) return m_received;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::vector<std::uint8_t> PseudoTerminal::receivedAll(std::chrono::milliseconds quiet) {
  std::size_t seen = SIZE_MAX;
  for (;;) {
    std::this_thread::sleep_for(quiet);
    const std::lock_guard lock(m_mutex);
    if (m_received.size() == seen) return m_received;
    seen = m_received.size();
  }
}

void PseudoTerminal::releaseOutput() { ::tcflow(m_slave, TCOON); }

termios PseudoTerminal::settings() const {
  termios settings{};
  ::tcgetattr(m_slave, &settings);
  return settings;
}

}  // namespace lumadot::test
