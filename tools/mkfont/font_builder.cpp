#include "mkfont/font_builder.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include "base/file_writer.h"
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
    encodeGlyph(placed.picture, ByteLayout{}, std::span(font.bytes).subspan(place.offset, glyphSize(Dots{place.width, 16})));
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

  // Both files are complete on disk before either is put in place, so a
  // failure while writing leaves the directory exactly as it was.
  auto stagedAsc16 = StagedFile::write(dir / "asc16", asc16);
  if (!stagedAsc16) return stagedAsc16.error();
  auto stagedHzk16 = StagedFile::write(dir / "hzk16", hzk16);
  if (!stagedHzk16) return stagedHzk16.error();

  const bool asc16Existed = fs::exists(dir / "asc16", ec);
  if (auto placed = stagedAsc16->commit(); !placed) return placed;
  if (auto placed = stagedHzk16->commit(); !placed) {
    // Undo an asc16 that is new; one that replaced an older font cannot be
    // undone, but it is at least complete.
    if (!asc16Existed) fs::remove(dir / "asc16", ec);
    return placed;
  }
  return {};
}

}  // namespace lumadot
