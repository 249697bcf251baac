#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumadot {

inline constexpr std::size_t kHexRecordSize = 16;

// Intel HEX for an EPROM or flash programmer: data records of 16 bytes from
// address 0, then the end-of-file record; CR LF line breaks. The glyph
// buffer holds at most 64 KiB, so 16-bit addresses always reach.
// `lineStarts`, when given, gets where each data record starts and, last,
// where the end-of-file record does.
std::string intelHex(std::span<const std::uint8_t> bytes, std::vector<std::size_t>* lineStarts = nullptr);

// Raw bytes as a box shows them: 16 a line, the offset first, CR LF.
// `lineStarts` as for intelHex, the last being the end of the view.
inline constexpr std::size_t kHexViewLine = 16;
std::string hexView(std::span<const std::uint8_t> bytes, std::vector<std::size_t>* lineStarts = nullptr);

}  // namespace lumadot
