// Bytes off a serial line with pauses, read by the firmware's frame reader
// (firmware/frame_reader.c) as the sign's serial interrupt reads them and by
// FrameDecoder with the times they came: the same whole frames, width, speed,
// mode and display bytes, in the same order, and as many dropped as the
// decoder found cut off.
//
// The input is the line after its first byte, E. In the line, E and then G is
// a pause of G x 8 ms for G below 0x80 (more than half a second from G = 63),
// (G - 0x7F) x 64 more of the byte before for G from 0x80, so short inputs
// reach the widest frames, and E itself for G = E. A recording of the line is
// an input once a byte value it lacks is put in front.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "support/firmware_frames.h"

namespace lumadot::fuzz {
namespace {

using Time = FrameDecoder::Time;

constexpr std::uint8_t kRunsFrom = 0x80;
constexpr Time kPauseStep{8};
constexpr std::size_t kRunStep = 64;
constexpr std::size_t kMostLineBytes = std::size_t{1} << 17;  // a few widest frames, and quick runs

// The two readers over one line, fed a burst at a time.
struct Readers {
  test::FirmwareFrames firmware;
  FrameDecoder decoder;
  std::vector<std::uint8_t> burst;  // bytes that came at `now`
  Time now{0};
  Time lastByte{0};
  std::size_t lineBytes = 0;
  std::uint8_t previous = 0;  // the line's last byte, pauses aside

  void add(std::uint8_t byte, std::size_t count) {
    count = std::min(count, kMostLineBytes - std::min(lineBytes, kMostLineBytes));
    burst.insert(burst.end(), count, byte);
    lineBytes += count;
    previous = byte;
  }
  void flush() {
    if (burst.empty()) return;
    firmware.feed(burst);
    decoder.feed(burst, now);
    burst.clear();
    lastByte = now;
  }
  void pause(Time length) {
    flush();
    now += length;
    decoder.idle(now);
    // The firmware's timer tells silence the way the decoder does.
    if (now - lastByte > kLineSilence) firmware.silence();
  }
};

}  // namespace

void fuzzInput(FuzzedDataProvider& in) {
  const std::vector<std::uint8_t> data = in.ConsumeRemainingBytes<std::uint8_t>();
  const std::size_t size = data.size();
  if (size == 0) return;
  const std::uint8_t escape = data[0];
  Readers readers;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] != escape) {
      readers.add(data[i], 1);
    } else if (++i < size) {
      const std::uint8_t code = data[i];
      if (code == escape) {
        readers.add(escape, 1);
      } else if (code < kRunsFrom) {
        readers.pause(kPauseStep * code);
      } else {
        readers.add(readers.previous, (code - kRunsFrom + 1u) * kRunStep);
      }
    }
  }
  readers.pause(kLineSilence + Time{1});
  readers.decoder.finish();

  std::size_t cutOff = 0;
  const auto expected = test::wholeFrames(readers.decoder.takeFrames(), &cutOff);
  FUZZ_EXPECT(readers.firmware.whole() == expected);
  FUZZ_EXPECT(readers.firmware.dropped() == cutOff);
  FUZZ_EXPECT(readers.firmware.indexesInOrder());
}

}  // namespace lumadot::fuzz
