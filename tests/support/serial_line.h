#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/process.h"

namespace lumadot::test {

// Two pseudo-terminals joined by socat, as a serial cable joins two ports:
// what is written to one end comes out of the other.
class SerialLine {
 public:
  SerialLine();
  ~SerialLine();
  SerialLine(const SerialLine&) = delete;
  SerialLine& operator=(const SerialLine&) = delete;

  const std::string& pc() const { return m_pc; }      // the sending end
  const std::string& sign() const { return m_sign; }  // the listening end
  // Writes straight into the sending end, as a sender with its own ideas would.
  void send(const std::vector<std::uint8_t>& bytes) const;
  // Returns once a program other than socat holds the listening end open, so
  // that a pause after that is silence on a line somebody reads.
  void awaitListener() const;
  // Ends socat: both ends go away, as an unplugged cable's adapter would.
  void cut();

 private:
  TempDir m_dir;
  std::string m_pc;
  std::string m_sign;
  pid_t m_socat = -1;
};

// A preview's drawing (█ and ·) as the sign prints a message `dots` wide:
// each row made that wide with dark dots, for the columns the width's rounding adds.
std::string signDrawing(const std::string& previewDrawing, std::size_t dots);

}  // namespace lumadot::test
