#include "frame/frame_decoder.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace lumadot {
namespace {

constexpr std::size_t kSpeedAt = FRAME_SPEED_AT;
constexpr std::size_t kModeAt = FRAME_MODE_AT;
constexpr std::size_t kLeadInAt = kHeaderBytes;

void addLeadInWarning(const ReceivedFrame& frame, std::vector<FrameWarning>& warnings) {
  if (frame.bytes.size() <= kLeadInAt) return;
  const auto end = frame.bytes.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(frame.bytes.size(), kFrameHeadBytes));
  const auto leadIn = frame.bytes.begin() + kLeadInAt;
  const auto first = std::find_if(leadIn, end, [](std::uint8_t b) { return b != 0; });
  if (first == end) return;
  const auto others = std::count_if(std::next(first), end, [](std::uint8_t b) { return b != 0; });
  warnings.push_back({FrameWarning::Field::leadIn, static_cast<std::size_t>(first - frame.bytes.begin()), *first,
                      static_cast<std::size_t>(others)});
}

std::vector<FrameWarning> frameWarnings(const ReceivedFrame& frame) {
  using Field = FrameWarning::Field;
  std::vector<FrameWarning> warnings;
  if (frame.width() < kNarrowestFrame) warnings.push_back({Field::width, frame.width()});
  if (const auto speed = frame.speed(); speed && (*speed < kSlowestSpeed || *speed > kFastestSpeed)) {
    warnings.push_back({Field::speed, *speed});
  }
  if (const auto mode = frame.mode(); mode && *mode > kLastMode) warnings.push_back({Field::mode, *mode});
  addLeadInWarning(frame, warnings);
  if (frame.complete() && frame.tail < kShortestTail) warnings.push_back({Field::tail, frame.tail});
  return warnings;
}

}  // namespace

std::optional<std::uint8_t> ReceivedFrame::speed() const {
  if (bytes.size() <= kSpeedAt) return std::nullopt;
  return bytes[kSpeedAt];
}

std::optional<std::uint8_t> ReceivedFrame::mode() const {
  if (bytes.size() <= kModeAt) return std::nullopt;
  return bytes[kModeAt];
}

std::span<const std::uint8_t> ReceivedFrame::display() const {
  if (bytes.size() <= kFrameHeadBytes) return {};
  return std::span(bytes).subspan(kFrameHeadBytes);
}

std::size_t displayBytesFor(std::uint8_t width) {
  if (width < kNarrowestFrame) return 0;
  return static_cast<std::size_t>(width - kNarrowestFrame) * kDisplayBytesPerWidth;
}

void FrameDecoder::feed(std::span<const std::uint8_t> bytes, Time now) {
  if (bytes.empty()) return;
  idle(now);
  for (const std::uint8_t byte : bytes) {
    switch (m_state) {
      case State::waiting:
        if (byte != 0) start(byte);
        break;
      case State::frame:
        m_frame.bytes.push_back(byte);
        if (m_frame.complete()) m_state = State::tail;
        break;
      case State::tail:
        if (byte == 0) {
          ++m_frame.tail;
        } else {
          end();
          start(byte);
        }
        break;
    }
  }
  m_lastByte = now;
}

void FrameDecoder::idle(Time now) {
  if (inFrame() && now - m_lastByte > kLineSilence) end();
}

void FrameDecoder::finish() {
  if (inFrame()) end();
}

std::optional<FrameDecoder::Time> FrameDecoder::deadline() const {
  if (!inFrame()) return std::nullopt;
  return m_lastByte + kLineSilence + Time{1};
}

std::vector<ReceivedFrame> FrameDecoder::takeFrames() { return std::exchange(m_done, {}); }

void FrameDecoder::start(std::uint8_t width) {
  m_frame = ReceivedFrame{};
  m_frame.expected = kFrameHeadBytes + displayBytesFor(width);
  m_frame.bytes.reserve(m_frame.expected);
  m_frame.bytes.push_back(width);
  m_state = State::frame;
}

void FrameDecoder::end() {
  m_frame.warnings = frameWarnings(m_frame);
  m_done.push_back(std::move(m_frame));
  m_frame = ReceivedFrame{};
  m_state = State::waiting;
}

std::vector<ReceivedFrame> decodeFrames(std::span<const std::uint8_t> bytes) {
  FrameDecoder decoder;
  decoder.feed(bytes, FrameDecoder::Time{0});
  decoder.finish();
  return decoder.takeFrames();
}

}  // namespace lumadot
