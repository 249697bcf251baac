#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "extract/font_file.h"
#include "extract/font_layout.h"

namespace lumadot::test {

// The byte a synthetic font holds at `offset`: scrambled so that reading from
// a wrong offset, or in a wrong order, gives different bytes.
std::uint8_t offsetByte(std::uint64_t offset);

// The bytes a synthetic font holds from `offset` on, with zeros past `fileSize`.
std::vector<std::uint8_t> offsetBytes(std::uint64_t offset, std::uint64_t count, std::uint64_t fileSize);

// Writes asc16 and hzk16 of the given sizes into dir and returns their paths.
FontPaths writeSyntheticFonts(const std::filesystem::path& dir, std::uint64_t asc16Size = kAsc16Size,
                              std::uint64_t hzk16Size = kHzk16Size);
// The same, whole, for another cell size or charset (asc24 and gbk24, ...).
FontPaths writeSyntheticFonts(const std::filesystem::path& dir, CellSize cell, Charset charset);

}  // namespace lumadot::test
