#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace lumadot {

inline constexpr std::size_t kHexRecordSize = 16;

// Intel HEX for an EPROM or flash programmer: data records of 16 bytes from
// address 0, then the end-of-file record; CR LF line breaks. The glyph
// buffer holds at most 64 KiB, so 16-bit addresses always reach.
std::string intelHex(std::span<const std::uint8_t> bytes);

}  // namespace lumadot
