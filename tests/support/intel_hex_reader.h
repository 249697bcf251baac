#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumadot::test {

// The memory an Intel HEX file fills, read independently of the program's
// own writer: every record's length, type and checksum are checked.
struct HexImage {
  std::map<std::uint32_t, std::uint8_t> bytes;
  std::string error;  // empty when the file was sound

  // `count` bytes from `address` on, or nullopt if one of them was never filled.
  std::optional<std::vector<std::uint8_t>> at(std::uint32_t address, std::size_t count) const;
};

HexImage readIntelHex(std::string_view text);

}  // namespace lumadot::test
