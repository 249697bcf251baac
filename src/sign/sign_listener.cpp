#include "sign/sign_listener.h"

#include <algorithm>

namespace lumadot {

SignListener::SignListener(Clock now) : m_now(std::move(now)) {
  if (!m_now) {
    m_now = [] { return std::chrono::duration_cast<Time>(std::chrono::steady_clock::now().time_since_epoch()); };
  }
}

Result<void> SignListener::listen(SerialReceiver& line, std::chrono::milliseconds wait) {
  using std::chrono::milliseconds;
  // A read that does not wait (the window's timer) stays one that does not.
  if (const auto deadline = m_decoder.deadline(); deadline && wait > milliseconds(0)) {
    wait = std::clamp(*deadline - m_now(), milliseconds(1), wait);
  }
  const auto bytes = line.read(wait);
  if (!bytes) {
    m_decoder.finish();
    return bytes.error();
  }
  m_bytesHeard += bytes->size();
  const Time now = m_now();
  m_decoder.feed(*bytes, now);
  m_decoder.idle(now);
  return {};
}

std::vector<HeardFrame> SignListener::takeFrames() {
  std::vector<HeardFrame> heard;
  for (ReceivedFrame& frame : m_decoder.takeFrames()) heard.push_back({std::move(frame), ++m_heard});
  return heard;
}

}  // namespace lumadot
