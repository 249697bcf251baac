#include "mkfont/font_builder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <string_view>
#include <system_error>

#include "extract/ansi_code.h"

namespace lumadot {
namespace {

constexpr std::uint8_t kEuroByte = 0x80;

const UnifontGlyph* findGlyph(const UnifontGlyphs& glyphs, char32_t code) {
  const auto it = glyphs.find(code);
  return it == glyphs.end() ? nullptr : &it->second;
}

bool isAsciiControl(unsigned c) { return c < 0x20 || c == 0x7F; }

struct PendingFile {
  std::filesystem::path temp;
  std::filesystem::path final;
  const std::vector<std::uint8_t>* bytes;
};

// Two builds into the same directory must not share a temporary name.
std::string randomSuffix() {
  std::random_device device;
  std::mt19937_64 engine((static_cast<std::mt19937_64::result_type>(device()) << 32) ^ device());
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::string suffix;
  for (int i = 0; i < 12; ++i) suffix.push_back(kDigits[engine() % kDigits.size()]);
  return suffix;
}

Result<void> writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return Failure("cannot create " + path.string() + ": " + std::strerror(errno));
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();  // a full disk often shows only when the buffer is flushed here
  if (!out) return Failure("cannot write " + path.string() + ": " + std::strerror(errno));
  return {};
}

void removeQuietly(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

}  // namespace

std::array<std::uint8_t, kAsc16GlyphSize> asc16Glyph(const UnifontGlyph& glyph) {
  std::array<std::uint8_t, kAsc16GlyphSize> out{};
  for (std::size_t r = 0; r < out.size(); ++r) {
    if (glyph.width == 16) {
      // asc16 has room for 8 dots only; a wide glyph keeps its middle columns
      // 4..11 rather than failing the build. Unifont's ASCII and euro sign are
      // all 8 wide, so this is a fallback for odd input files.
      const unsigned row = static_cast<unsigned>(glyph.bytes[2 * r]) << 8 | glyph.bytes[2 * r + 1];
      out[r] = static_cast<std::uint8_t>((row >> 4) & 0xFFu);
    } else {
      out[r] = glyph.bytes[r];
    }
  }
  return out;
}

std::array<std::uint8_t, kHzk16GlyphSize> hzk16Cell(const UnifontGlyph& glyph) {
  if (glyph.width == 16) return glyph.bytes;
  // Narrow glyphs are centred: 4 blank dots on each side.
  std::array<std::uint8_t, kHzk16GlyphSize> out{};
  for (std::size_t r = 0; r < kAsc16GlyphSize; ++r) {
    const unsigned row = static_cast<unsigned>(glyph.bytes[r]) << 4;
    out[2 * r] = static_cast<std::uint8_t>(row >> 8);
    out[2 * r + 1] = static_cast<std::uint8_t>(row & 0xFFu);
  }
  return out;
}

BuiltFont buildAsc16(const UnifontGlyphs& glyphs) {
  BuiltFont font{std::vector<std::uint8_t>(kAsc16Size, 0)};
  const auto place = [&](unsigned byte, char32_t code) {
    ++font.wanted;
    if (const UnifontGlyph* glyph = findGlyph(glyphs, code)) {
      const auto bytes = asc16Glyph(*glyph);
      std::copy(bytes.begin(), bytes.end(), font.bytes.begin() + static_cast<std::ptrdiff_t>(byte * kAsc16GlyphSize));
      ++font.found;
    }
  };
  // Unifont draws control codes as boxed hex numbers; a sign wants them blank.
  for (unsigned c = 0; c < 0x80; ++c) {
    if (!isAsciiControl(c)) place(c, static_cast<char32_t>(c));
  }
  // 0x81..0xFF are lead bytes of two-byte characters, never characters alone.
  if (const auto euro = fromAnsiBytes(std::string_view("\x80", 1))) place(kEuroByte, *euro);
  return font;
}

BuiltFont buildHzk16(const UnifontGlyphs& glyphs) {
  BuiltFont font{std::vector<std::uint8_t>(kHzk16Size, 0)};
  for (int row = 1; row <= kGridSize; ++row) {
    for (int col = 1; col <= kGridSize; ++col) {
      const char bytes[2] = {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + col)};
      const auto ch = fromAnsiBytes(std::string_view(bytes, 2));
      if (!ch) continue;
      ++font.wanted;
      const UnifontGlyph* glyph = findGlyph(glyphs, *ch);
      if (!glyph) continue;
      ++font.found;
      const auto cell = hzk16Cell(*glyph);
      const auto index = static_cast<std::size_t>((row - 1) * kGridSize + (col - 1));
      std::copy(cell.begin(), cell.end(), font.bytes.begin() + static_cast<std::ptrdiff_t>(index * kHzk16GlyphSize));
    }
  }
  return font;
}

Result<void> writeFontFiles(const std::filesystem::path& dir, const std::vector<std::uint8_t>& asc16,
                           const std::vector<std::uint8_t>& hzk16) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return Failure("cannot create directory " + dir.string() + ": " + ec.message());
  if (!fs::is_directory(dir, ec)) return Failure("cannot create directory " + dir.string() + ": not a directory");

  const std::string suffix = ".tmp-" + randomSuffix();
  PendingFile files[] = {{dir / ("asc16" + suffix), dir / "asc16", &asc16},
                         {dir / ("hzk16" + suffix), dir / "hzk16", &hzk16}};
  const auto removeTemps = [&] {
    for (const auto& f : files) removeQuietly(f.temp);
  };

  // Both files are complete on disk before either is renamed, so a failure
  // while writing leaves the directory exactly as it was.
  for (const auto& f : files) {
    if (auto written = writeBytes(f.temp, *f.bytes); !written) {
      removeTemps();
      return written;
    }
  }

  bool existedBefore[2] = {fs::exists(files[0].final, ec), fs::exists(files[1].final, ec)};
  for (std::size_t i = 0; i < 2; ++i) {
    fs::rename(files[i].temp, files[i].final, ec);
    if (ec) {
      Failure error("cannot rename " + files[i].temp.string() + " to " + files[i].final.string() + ": " + ec.message());
      removeTemps();
      // Undo an earlier rename that created a file; one that replaced an
      // older font cannot be undone, but it is at least complete.
      for (std::size_t j = 0; j < i; ++j) {
        if (!existedBefore[j]) removeQuietly(files[j].final);
      }
      return error;
    }
  }
  return {};
}

}  // namespace lumadot
