#include "workbench/workbench_run.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "extract/glyph_entries.h"
#include "extract/listing.h"
#include "extract/text_codec.h"
#include "fonts/rendered_glyphs.h"
#include "picture/picture_glyphs.h"
#include "subset/font_subset.h"
#include "subset/subset_source.h"

namespace lumadot {
namespace {

constexpr std::size_t kHexLine = 16;

// Each character of `text` once, in the order of the text, that `drawn` says the fonts cannot draw.
std::vector<std::u16string> lackingCharacters(std::u16string_view text, const RunFonts& fonts) {
  std::vector<std::u16string> lacking;
  std::set<std::u16string_view> seen;
  for (const UndrawnCharacter& c : fonts.undrawn(text)) {
    if (seen.insert(c.character).second) lacking.emplace_back(c.character);
  }
  if (!fonts.rendered()) return lacking;
  const auto& missing = fonts.rendered()->missing();
  const std::set<char32_t> blank(missing.begin(), missing.end());
  for (std::size_t pos = 0; pos < text.size(); pos += characterLength(text, pos)) {
    const auto character = text.substr(pos, characterLength(text, pos));
    if (blank.contains(characterAt(text, pos)) && seen.insert(character).second) lacking.emplace_back(character);
  }
  return lacking;
}

// The output box's text; a save encodes it after, which gives the same bytes as writing it encoded.
std::string outputText(const WorkbenchSettings& settings, const WorkbenchOutput& output) {
  if (settings.format == OutputFormat::listing) return utf16ToUtf8(listing(output.glyphs));
  const SourceOptions shown{settings.source.credit, SourceEncoding::utf8};
  if (settings.subset) {
    FontSubset subset = fontSubset(output.glyphs);
    std::vector<char32_t> lacking;
    for (const std::u16string& c : output.lacking) lacking.push_back(characterAt(c, 0));
    leaveOut(subset, lacking);
    return subsetSource(settings.format, subset, settings.names.prefix, shown);
  }
  if (settings.format == OutputFormat::bin) return hexView(output.glyphs.bytes);
  return formatGlyphs(settings.format, glyphEntries(output.glyphs), settings.names, shown);
}

}  // namespace

std::optional<std::string> outputProblem(const WorkbenchSettings& settings) {
  if (settings.subset && !canWriteSubset(settings.format)) {
    return "a font subset is written as a51, as31, sdas, c51 or sdcc source";
  }
  if (settings.names.oneTable && !canMakeTable(settings.format)) return "one table goes with c51 or sdcc";
  if (auto prefix = checkPrefix(settings.names.prefix); !prefix) return prefix.error().text;
  return std::nullopt;
}

std::string hexView(std::span<const std::uint8_t> bytes) {
  std::string view;
  char piece[24];
  for (std::size_t line = 0; line < bytes.size(); line += kHexLine) {
    std::snprintf(piece, sizeof piece, "%08zX ", line);
    view += piece;
    for (std::size_t i = line; i < std::min(bytes.size(), line + kHexLine); ++i) {
      std::snprintf(piece, sizeof piece, " %02X", bytes[i]);
      view += piece;
    }
    view += "\r\n";
  }
  return view;
}

Workbench::Workbench(std::filesystem::path programDir) : m_programDir(std::move(programDir)) {}
Workbench::~Workbench() = default;

RunFonts& Workbench::fontsFor(const WorkbenchSettings& settings) {
  if (!m_fonts || m_fontDir != settings.fontDir || !(m_font == settings.font)) {
    m_fonts = std::make_unique<RunFonts>(settings.fontDir, settings.font, m_programDir);
    m_fontDir = settings.fontDir;
    m_font = settings.font;
  }
  return *m_fonts;
}

// The picture's glyphs, or the text's, noting what the font lacks.
Result<Glyphs> Workbench::glyphsFor(const WorkbenchSettings& settings, WorkbenchOutput& output) {
  if (settings.picture) {
    return pictureGlyphs(pictureDots(*settings.picture->grey, settings.picture->dots), settings.layout);
  }
  RunFonts& fonts = fontsFor(settings);
  if (fonts.failure()) return *fonts.failure();
  Result<Glyphs> glyphs = lookUp(settings.text, settings.layout, fonts.source());
  // After the lookup: a font drawn from knows what it lacks once asked for it.
  output.lacking = lackingCharacters(settings.text, fonts);
  return glyphs;
}

WorkbenchOutput Workbench::run(const WorkbenchSettings& settings) {
  WorkbenchOutput output;
  if (auto problem = outputProblem(settings)) {
    output.failure = Failure(*problem);
    return output;
  }
  Result<Glyphs> glyphs = glyphsFor(settings, output);
  if (!glyphs) {
    output.failure = glyphs.error();
    return output;
  }
  output.glyphs = std::move(*glyphs);
  output.text = outputText(settings, output);
  output.file = settings.format == OutputFormat::bin && !settings.subset
                    ? formatGlyphs(OutputFormat::bin, glyphEntries(output.glyphs), settings.names)
                    : encodedText(output.text, settings.source.encoding);
  return output;
}

}  // namespace lumadot
