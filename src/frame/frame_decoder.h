#pragma once

// How our sign reads the bytes of a serial line as display frames
// (display_frame.h): a non-zero byte starts a frame, the width byte says how
// many bytes it has, and zero bytes after it are its tail. Bytes are fed as
// they arrive with the time they came, so a frame cut off by a silent line
// is told apart from one still coming.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "frame/display_frame.h"

namespace lumadot {

// A frame whose bytes stop for longer than this before it is whole is cut off.
inline constexpr std::chrono::milliseconds kLineSilence{FRAME_LINE_SILENCE_MS};

// A field the sign does not take as it came, though it plays the frame still.
// Values, so the command line and each window word it in their own language.
struct FrameWarning {
  enum class Field { width, speed, mode, leadIn, tail };
  Field field = Field::width;
  std::size_t found = 0;  // the width, speed or mode byte; the tail's zero bytes; the lead-in byte's place
  std::uint8_t leadInByte = 0;   // that lead-in byte, not zero
  std::size_t moreLeadIn = 0;    // lead-in bytes after it that are not zero either

  friend bool operator==(const FrameWarning&, const FrameWarning&) = default;
};

struct ReceivedFrame {
  std::vector<std::uint8_t> bytes;  // from the width byte on, as far as they came; never the tail
  std::size_t expected = 0;         // head and display bytes that the width byte calls for
  std::size_t tail = 0;             // zero bytes after the last display byte
  std::vector<FrameWarning> warnings;

  bool complete() const { return bytes.size() == expected; }
  std::uint8_t width() const { return bytes.front(); }
  std::optional<std::uint8_t> speed() const;  // nothing when cut off before it
  std::optional<std::uint8_t> mode() const;
  std::span<const std::uint8_t> display() const;  // those that came
};

// Display bytes a width byte calls for; none below kNarrowestFrame.
std::size_t displayBytesFor(std::uint8_t width);

class FrameDecoder {
 public:
  using Time = std::chrono::milliseconds;  // since any fixed moment, never going back

  // Bytes that arrived at `now`. Frames they end wait in takeFrames().
  void feed(std::span<const std::uint8_t> bytes, Time now);
  // The line has been silent up to `now`: ends a frame or a tail the silence cuts off.
  void idle(Time now);
  // No more bytes will come: ends whatever is in progress.
  void finish();
  // When idle() will end what is in progress, if nothing arrives before then.
  std::optional<Time> deadline() const;

  std::vector<ReceivedFrame> takeFrames();
  bool inFrame() const { return m_state != State::waiting; }

 private:
  enum class State { waiting, frame, tail };

  void start(std::uint8_t width);
  void end();

  State m_state = State::waiting;
  ReceivedFrame m_frame;
  Time m_lastByte{};
  std::vector<ReceivedFrame> m_done;
};

// The frames in `bytes` as one burst, all at once: what the sign makes of a
// whole recording of the line.
std::vector<ReceivedFrame> decodeFrames(std::span<const std::uint8_t> bytes);

}  // namespace lumadot
