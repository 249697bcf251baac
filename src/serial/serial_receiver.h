#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "base/result.h"

namespace lumadot {

// The listening end of a serial line, however it is reached: what the sign's
// listening loop reads from.
class SerialReceiver {
 public:
  virtual ~SerialReceiver() = default;

  // The bytes that have come, waiting up to `wait` for the first; a port
  // that went away (unplugged, its far end closed) is a failure.
  virtual Result<std::vector<std::uint8_t>> read(std::chrono::milliseconds wait) = 0;
};

}  // namespace lumadot
