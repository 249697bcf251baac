#include "mkfont/font_builder.h"

#include <algorithm>
#include <system_error>

#include "base/file_writer.h"
#include "base/utf8_path.h"
#include "extract/byte_layout.h"
#include "fonts/cell_character.h"

namespace lumadot {
namespace {

// Where a wanted character's glyph goes: its file and offset there.
struct Place {
  char32_t character;
  std::size_t offset;
  bool doubleByte;
};

// Every single-byte place first, then the grid's, in the files' order.
std::vector<Place> wantedPlaces(const FontRequest& request) {
  std::vector<Place> places;
  const std::size_t single = glyphSize(request.cell.singleByte());
  const std::size_t wide = glyphSize(request.cell.doubleByte());
  for (int code = 0; code < 256; ++code) {
    if (const auto c = cellCharacter(static_cast<std::int16_t>(code))) {
      places.push_back({*c, static_cast<std::size_t>(code) * single, false});
    }
  }
  for (std::size_t place = 0; place < gridPlaces(request.charset); ++place) {
    if (const auto c = cellCharacter(gridCode(request.charset, place))) places.push_back({*c, place * wide, true});
  }
  return places;
}

BuiltFont emptyFont(std::string name, std::size_t size) { return {std::move(name), std::vector<std::uint8_t>(size, 0)}; }

// One baseline for all the glyphs of one face: both files', or each file's
// when the single-byte glyphs (the first `singleBytes`) have a face of their own.
void chooseBaselines(BuiltFonts& fonts, std::span<const std::optional<SourceGlyph>> glyphs, std::size_t singleBytes,
                     const GlyphFace& face, const GlyphFace* ascii, int cellHeight) {
  if (!ascii) {
    fonts.baseline = fonts.asciiBaseline = chooseBaseline(glyphs, face.ascent, cellHeight);
    return;
  }
  fonts.asciiBaseline = chooseBaseline(glyphs.first(singleBytes), ascii->ascent, cellHeight);
  fonts.baseline = chooseBaseline(glyphs.subspan(singleBytes), face.ascent, cellHeight);
}

void addGlyph(BuiltFont& font, const Place& place, const std::optional<SourceGlyph>& glyph, const GlyphFace& face,
              Dots cell, int baseline) {
  ++font.wanted;
  if (!glyph) {
    font.missing.push_back(place.character);
    return;
  }
  ++font.found;
  const PlacedGlyph placed = fitGlyph(face, place.character, *glyph, cell, baseline);
  font.scaled += placed.scaled ? 1 : 0;
  font.clipped += glyph->cut ? 1 : 0;
  encodeGlyph(placed.picture, ByteLayout{}, std::span(font.bytes).subspan(place.offset, glyphSize(cell)));
}

}  // namespace

BuiltFonts buildFonts(const GlyphFace& face, const FontRequest& request, const GlyphFace* ascii) {
  const CellSize cell = request.cell;
  const std::vector<Place> places = wantedPlaces(request);
  const GlyphFace& asciiFace = ascii ? *ascii : face;
  std::vector<std::optional<SourceGlyph>> glyphs;
  glyphs.reserve(places.size());
  for (const Place& place : places) glyphs.push_back((place.doubleByte ? face : asciiFace).glyph(place.character));
  BuiltFonts fonts{emptyFont(singleByteFileName(cell), singleByteFileSize(cell)),
                   emptyFont(doubleByteFileName(cell, request.charset), doubleByteFileSize(cell, request.charset))};
  const auto singleBytes = static_cast<std::size_t>(
      std::count_if(places.begin(), places.end(), [](const Place& place) { return !place.doubleByte; }));
  chooseBaselines(fonts, glyphs, singleBytes, face, ascii, cell.height);
  for (std::size_t i = 0; i < places.size(); ++i) {
    const bool doubleByte = places[i].doubleByte;
    addGlyph(doubleByte ? fonts.hzk16 : fonts.asc16, places[i], glyphs[i], doubleByte ? face : asciiFace,
             cell.of(doubleByte), doubleByte ? fonts.baseline : fonts.asciiBaseline);
  }
  return fonts;
}

BuiltFonts buildFonts(const GlyphLookup& lookup, int preferredBaseline) {
  return buildFonts(GlyphFace{[&](char32_t c, int) { return lookup(c); }, 16, preferredBaseline});
}

Result<void> writeFontFiles(const std::filesystem::path& dir, const std::vector<FontFileBytes>& files) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) return Failure("cannot create directory " + utf8Path(dir) + ": " + ec.message());
  if (!fs::is_directory(dir, ec)) return Failure("cannot create directory " + utf8Path(dir) + ": not a directory");

  // Every file is complete on disk before any is put in place, so a failure
  // while writing leaves the directory exactly as it was.
  std::vector<StagedFile> staged;
  for (const FontFileBytes& file : files) {
    auto written = StagedFile::write(dir / file.name, file.bytes);
    if (!written) return written.error();
    staged.push_back(std::move(*written));
  }
  std::vector<fs::path> created;
  for (std::size_t i = 0; i < staged.size(); ++i) {
    const fs::path path = dir / files[i].name;
    const bool existed = fs::exists(path, ec);
    if (auto placed = staged[i].commit(); !placed) {
      // Undo the files that are new; those that replaced older fonts cannot
      // be undone, but they are at least complete.
      for (const fs::path& done : created) fs::remove(done, ec);
      return placed;
    }
    if (!existed) created.push_back(path);
  }
  return {};
}

}  // namespace lumadot
