#pragma once

// The sign's listening loop, one pass at a time, as the sign window's timer
// and lumadot-cli sign both run it: what comes on the line goes to the frame
// decoder with the time it came, the silence ends what it cuts off, and the
// frames that end come out numbered in the order they came.

#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

#include "base/result.h"
#include "serial/serial_receiver.h"
#include "frame/frame_decoder.h"

namespace lumadot {

struct HeardFrame {
  ReceivedFrame frame;
  int number = 0;  // from 1, on across restarts
};

class SignListener {
 public:
  using Time = FrameDecoder::Time;
  using Clock = std::function<Time()>;

  // On the steady clock, or on `now` (which never goes back) where one is given.
  SignListener() : SignListener(Clock()) {}
  explicit SignListener(Clock now);

  // A new session on the line: bytes from before belong to no frame.
  void restart() { m_decoder = FrameDecoder(); }
  // Reads what comes within `wait`, less when a frame in progress would be
  // cut off sooner, so its end is heard on time. A line that fails ends what
  // was in progress, as finish() does, and its failure is returned.
  Result<void> listen(SerialReceiver& line, std::chrono::milliseconds wait);
  // No more bytes will come: ends whatever is in progress.
  void finish() { m_decoder.finish(); }
  // The frames that have ended since the last call.
  std::vector<HeardFrame> takeFrames();
  // Frames numbered so far.
  int heard() const { return m_heard; }
  // Bytes read off the line so far, on across restarts: a test that steps
  // the clock knows from it when the bytes it sent are all in.
  std::size_t bytesHeard() const { return m_bytesHeard; }

 private:
  Clock m_now;
  FrameDecoder m_decoder;
  int m_heard = 0;
  std::size_t m_bytesHeard = 0;
};

}  // namespace lumadot
