#pragma once

#include <termios.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace lumadot::test {

// A real pseudo-terminal pair. The program under test opens the slave by its
// path, as it would a serial port; the test reads the master, the far end.
class PseudoTerminal {
 public:
  // How the far end behaves. A stopped output (as flow control would stop
  // it) makes the program's writes wait: the terminal's own buffer is larger
  // than any frame, so a far end that merely reads slowly would not.
  struct FarEnd {
    std::chrono::milliseconds outputStoppedFor{0};
    bool outputStoppedUntilReleased = false;  // until releaseOutput(), whatever the clock says
    std::optional<std::chrono::milliseconds> hangUpAfter{};  // then closes the master
  };

  explicit PseudoTerminal(FarEnd farEnd);
  PseudoTerminal() : PseudoTerminal(FarEnd{}) {}
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& path() const { return m_path; }

  // Waits until `count` bytes have arrived (or the timeout passes) and returns what arrived.
  std::vector<std::uint8_t> received(std::size_t count, std::chrono::milliseconds timeout);
  // Waits a moment longer to be sure that nothing more arrives, and returns it all.
  std::vector<std::uint8_t> receivedAll(std::chrono::milliseconds quiet = std::chrono::milliseconds(50));

  // The line settings the slave holds now.
  termios settings() const;
  // Lets a stopped output go on.
  void releaseOutput();

 private:
  void readLoop(FarEnd farEnd);

  int m_master = -1;
  int m_slave = -1;  // held open so the slave outlives the program's close
  std::string m_path;
  std::atomic<bool> m_stop{false};
  mutable std::mutex m_mutex;
  std::vector<std::uint8_t> m_received;
  std::thread m_reader;
};

}  // namespace lumadot::test
