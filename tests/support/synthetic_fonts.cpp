#include "support/synthetic_fonts.h"

#include <string>

#include "support/process.h"

namespace lumadot::test {

std::uint8_t offsetByte(std::uint64_t offset) {
  return static_cast<std::uint8_t>(((offset + 1) * 0x9E3779B1u) >> 24);
}

std::vector<std::uint8_t> offsetBytes(std::uint64_t offset, std::uint64_t count, std::uint64_t fileSize) {
  std::vector<std::uint8_t> bytes;
  for (std::uint64_t o = offset; o < offset + count; ++o) bytes.push_back(o < fileSize ? offsetByte(o) : 0);
  return bytes;
}

namespace {

void writeSynthetic(const FontPaths& paths, std::uint64_t asc16Size, std::uint64_t hzk16Size) {
  for (const auto& [path, size] : {std::pair{paths.asc16, asc16Size}, std::pair{paths.hzk16, hzk16Size}}) {
    std::string bytes(size, '\0');
    for (std::uint64_t o = 0; o < size; ++o) bytes[o] = static_cast<char>(offsetByte(o));
    writeFile(path, bytes);
  }
}

}  // namespace

FontPaths writeSyntheticFonts(const std::filesystem::path& dir, std::uint64_t asc16Size, std::uint64_t hzk16Size) {
  const FontPaths paths = FontPaths::inDirectory(dir);
  writeSynthetic(paths, asc16Size, hzk16Size);
  return paths;
}

FontPaths writeSyntheticFonts(const std::filesystem::path& dir, CellSize cell, Charset charset) {
  const FontPaths paths = FontPaths::inDirectory(dir, cell, charset);
  writeSynthetic(paths, singleByteFileSize(cell), doubleByteFileSize(cell, charset));
  return paths;
}

}  // namespace lumadot::test
