#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "base/result.h"
#include "extract/font_layout.h"

namespace lumadot {

// The two font files of a cell size and charset, named as the programs look
// for them: asc16 and hzk16 unless asked otherwise.
struct FontPaths {
  std::filesystem::path asc16;  // the single-byte file (asc16, asc24, ...)
  std::filesystem::path hzk16;  // the double-byte file (hzk16, gbk24, ...)
  // Set when no folder searched held both files: a missing file's message names them all.
  std::vector<std::filesystem::path> lookedIn;
  CellSize cell{};
  Charset charset = Charset::gb2312;

  static FontPaths inDirectory(const std::filesystem::path& dir, CellSize cell = {},
                               Charset charset = Charset::gb2312) {
    return {dir / singleByteFileName(cell), dir / doubleByteFileName(cell, charset), {}, cell, charset};
  }
};

// A headerless font file, read once on first use: opening and seeking for
// every glyph would cost more than everything else a run does. Only the first
// `layoutSize` bytes can hold glyphs, so no more is ever read. The file is
// opened read-only, so a missing one is never created.
class FontFile {
 public:
  // `lookedIn`: the folders searched for it in vain, named when it is missing.
  FontFile(std::filesystem::path path, std::size_t layoutSize, std::vector<std::filesystem::path> lookedIn = {});

  // Fills out with the bytes from offset on. Bytes at or past the end of the
  // file read as 0, so a short file gives blank glyphs rather than an error.
  // A file that cannot be opened or read fails with a warning naming it and
  // the system's reason.
  Result<void> read(std::uint64_t offset, std::span<std::uint8_t> out);

  const std::filesystem::path& path() const { return m_path; }

 private:
  Result<void> load();

  std::filesystem::path m_path;
  std::size_t m_layoutSize;
  std::vector<std::filesystem::path> m_lookedIn;
  std::optional<std::vector<std::uint8_t>> m_bytes;  // set once loaded
  std::optional<Failure> m_failure;  // sticks: the run stops at it anyway
};

}  // namespace lumadot
