#pragma once
// The firmware's frame reader (firmware/frame_reader.h) driven as the sign's
// serial interrupt drives it, keeping display bytes where it says, so tests and
// the fuzz target can hold the frames it takes against FrameDecoder's.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "frame/frame_decoder.h"
#include "frame_reader.h"

namespace lumadot::test {

// A whole frame, as the sign plays it.
struct TakenFrame {
  std::uint8_t width = 0, speed = 0, mode = 0;
  std::vector<std::uint8_t> display;

  friend bool operator==(const TakenFrame&, const TakenFrame&) = default;
};

class FirmwareFrames {
 public:
  FirmwareFrames() { frame_reader_reset(); }

  void feed(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) take(byte, frame_reader_byte(byte));
  }
  // More than half a second without a byte.
  void silence() {
    if (frame_reader_silence() & FRAME_DROPPED) ++m_dropped;
    m_next = 0;
  }

  const std::vector<TakenFrame>& whole() const { return m_whole; }
  std::size_t dropped() const { return m_dropped; }
  // Every display byte came with the next index, from 0 in each frame.
  bool indexesInOrder() const { return m_inOrder; }

 private:
  void take(std::uint8_t byte, std::uint8_t event) {
    if (event & FRAME_DISPLAY_BYTE) {
      m_inOrder = m_inOrder && frame_reader.index == m_next && m_next < m_display.size();
      if (frame_reader.index < m_display.size()) m_display[frame_reader.index] = byte;
      ++m_next;
    }
    if (event & FRAME_WHOLE) {
      const auto end = m_display.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(m_next, m_display.size()));
      m_whole.push_back({frame_reader.header.width, frame_reader.header.speed, frame_reader.header.mode, {m_display.begin(), end}});
      m_next = 0;
    }
  }

  // Left as the last frame left them, as the sign's memory is: a byte not
  // stored shows up as the wrong one.
  std::vector<std::uint8_t> m_display = std::vector<std::uint8_t>(FRAME_MAX_DISPLAY, 0xA5);
  std::size_t m_next = 0;
  std::vector<TakenFrame> m_whole;
  std::size_t m_dropped = 0;
  bool m_inOrder = true;
};

// FrameDecoder's whole frames as TakenFrames; `cutOff` counts the others.
inline std::vector<TakenFrame> wholeFrames(const std::vector<ReceivedFrame>& frames, std::size_t* cutOff = nullptr) {
  std::vector<TakenFrame> whole;
  for (const ReceivedFrame& frame : frames) {
    if (!frame.complete()) {
      if (cutOff) ++*cutOff;
      continue;
    }
    const auto display = frame.display();
    whole.push_back({frame.width(), *frame.speed(), *frame.mode(), {display.begin(), display.end()}});
  }
  return whole;
}

}  // namespace lumadot::test
