#include "mkfont/font_builder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <string_view>
#include <system_error>

#include "extract/ansi_code.h"
#include "extract/byte_layout.h"
#include "extract/font_layout.h"

namespace lumadot {
namespace {

constexpr std::uint8_t kEuroByte = 0x80;
constexpr int kAsc16Width = 8;
constexpr int kHzk16Width = 16;

bool isAsciiControl(unsigned c) { return c < 0x20 || c == 0x7F; }

// Where a wanted character's glyph goes: a cell of `width` dots at `offset`.
struct Place {
  char32_t character;
  std::size_t offset;
  int width;
};

std::vector<Place> wantedPlaces() {
  std::vector<Place> places;
  // Unifont draws control codes as boxed hex numbers; a sign wants them blank.
  for (unsigned c = 0; c < 0x80; ++c) {
    if (!isAsciiControl(c)) places.push_back({static_cast<char32_t>(c), c * kAsc16GlyphSize, kAsc16Width});
  }
  // 0x81..0xFF are lead bytes of two-byte characters, never characters alone.
  if (const auto euro = fromAnsiBytes(std::string_view("\x80", 1))) {
    places.push_back({*euro, kEuroByte * kAsc16GlyphSize, kAsc16Width});
  }
  for (int row = 1; row <= kGridSize; ++row) {
    for (int col = 1; col <= kGridSize; ++col) {
      const char bytes[2] = {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + col)};
      const auto ch = fromAnsiBytes(std::string_view(bytes, 2));
      const auto index = static_cast<std::size_t>((row - 1) * kGridSize + (col - 1));
      if (ch) places.push_back({*ch, index * kHzk16GlyphSize, kHzk16Width});
    }
  }
  return places;
}

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

BuiltFonts buildFonts(const GlyphLookup& lookup, int preferredBaseline) {
  const std::vector<Place> places = wantedPlaces();
  std::vector<std::optional<SourceGlyph>> glyphs;
  glyphs.reserve(places.size());
  for (const Place& place : places) glyphs.push_back(lookup(place.character));
  BuiltFonts fonts{{std::vector<std::uint8_t>(kAsc16Size, 0)},
                   {std::vector<std::uint8_t>(kHzk16Size, 0)},
                   chooseBaseline(glyphs, preferredBaseline)};
  for (std::size_t i = 0; i < places.size(); ++i) {
    const Place& place = places[i];
    BuiltFont& font = place.width == kAsc16Width ? fonts.asc16 : fonts.hzk16;
    ++font.wanted;
    if (!glyphs[i]) {
      font.missing.push_back(place.character);
      continue;
    }
    ++font.found;
    const PlacedGlyph placed = placeGlyph(*glyphs[i], place.width, fonts.baseline);
    font.clipped += placed.clipped ? 1 : 0;
    encodeGlyph(placed.picture, ByteLayout{}, std::span(font.bytes).subspan(place.offset, glyphSize(place.width)));
  }
  return fonts;
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
