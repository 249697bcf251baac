#include "mkfont/mkfont_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "base/version.h"
#include "common/command_line.h"
#include "extract/text_codec.h"
#include "mkfont/font_builder.h"
#include "fonts/freetype_font.h"
#include "fonts/unifont_hex.h"

namespace lumadot::mkfont {
namespace {

using tools::kExitCompleted;
using tools::kExitFailed;

constexpr std::string_view kDescription =
    "Builds the raster fonts asc16 (8x16 dots, 256 glyphs) and hzk16 (16x16 dots,\n"
    "GB2312 94x94 grid) from a GNU Unifont .hex file, plain or gzip-compressed, or\n"
    "from any font file FreeType reads: TrueType, OpenType, collections (.ttc), PCF\n"
    "(.pcf.gz too) and BDF. A face's own 16-pixel bitmaps are used where it has\n"
    "them; a scalable face without them is rendered at 16 pixels, monochrome and\n"
    "hinted. It reports on standard error what it found and what is missing.";

constexpr std::string_view kFooter = "Exit status: 0 on success, 1 if the input or output fails, 2 on a usage error.";

// FreeType keeps the face number in 16 bits.
constexpr int kLastFace = 0xFFFF;

// Missing characters named in the report before the rest are only counted.
constexpr std::size_t kMissingNamed = 5;

struct Source {
  std::string unifont;
  std::string font;
  int face = 0;
};

std::string codePoint(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

std::string report(std::string_view name, const BuiltFont& font) {
  std::string line = "lumadot-mkfont: " + std::string(name) + ": " + std::to_string(font.found) + " of " +
                     std::to_string(font.wanted) + " characters found";
  if (!font.missing.empty()) {
    line += "; missing";
    const std::size_t named = std::min(font.missing.size(), kMissingNamed);
    for (std::size_t i = 0; i < named; ++i) {
      line += (i == 0 ? " " : ", ") + codePoint(font.missing[i]) + " " + utf16ToUtf8(std::u16string(1, static_cast<char16_t>(font.missing[i])));
    }
    if (font.missing.size() > named) line += " and " + std::to_string(font.missing.size() - named) + " more";
  }
  if (font.clipped > 0) line += "; " + std::to_string(font.clipped) + " too big for the cell, clipped to its middle";
  return line + "\n";
}

// One line for a failure: what failed, then the system's reason when there is one.
std::string sentence(const Failure& failed) {
  return failed.detail.empty() ? failed.text : failed.text + ": " + failed.detail;
}

Result<BuiltFonts> buildFrom(const Source& source, std::string& description) {
  if (!source.unifont.empty()) {
    const auto glyphs = loadUnifontHex(source.unifont);
    if (!glyphs) return glyphs.error();
    description = source.unifont + ": GNU Unifont";
    return buildFonts([&](char32_t c) { return findSourceGlyph(*glyphs, c); }, kUnifontBaseline);
  }
  const auto font = FreeTypeFont::open(source.font, source.face);
  if (!font) return font.error();
  description = source.font + ": " + font->description();
  return buildFonts([&](char32_t c) { return font->glyph(c); }, font->ascent());
}

int build(const Source& source, const std::filesystem::path& out) {
  std::string description;
  const auto fonts = buildFrom(source, description);
  if (!fonts) return failure(fonts.error().text);
  // Such fonts would be blank wherever a sign shows Chinese, which nobody
  // would notice until the sign did.
  const std::string& input = source.unifont.empty() ? source.font : source.unifont;
  if (fonts->hzk16.found == 0) return failure(input + ": holds no glyph for any GB2312 character");
  const auto written = writeFontFiles(out, fonts->asc16.bytes, fonts->hzk16.bytes);
  if (!written) return failure(sentence(written.error()));
  std::cerr << "lumadot-mkfont: " << description << ", baseline at row " << fonts->baseline << "\n"
            << report("asc16", fonts->asc16) << report("hzk16", fonts->hzk16) << "lumadot-mkfont: wrote "
            << (out / "asc16").string() << " and " << (out / "hzk16").string() << "\n";
  return kExitCompleted;
}

}  // namespace

int failure(const std::string& message) {
  std::cerr << "lumadot-mkfont: " << message << '\n';
  return kExitFailed;
}

int runMkfontCommand(const std::vector<std::string>& args, tools::Reach reach) {
  tools::CommandLine line("lumadot-mkfont", std::string(kDescription), std::string(kFooter));
  CLI::App& app = line.app();
  // Lower case, as scripts look for it; a column wide enough for "--unifont FILE.hex[.gz]".
  app.get_formatter()->label("Usage", "usage");
  app.get_formatter()->column_width(27);
  app.set_version_flag("--version", std::string("lumadot-mkfont ") + std::string(kVersion),
                       "show the version");
  Source source;
  std::string out;
  CLI::Option* unifont = app.add_option("--unifont", source.unifont,
                                        "Unifont .hex file to read, such as\n"
                                        "/usr/share/unifont/unifont.hex, or one compressed\n"
                                        "with gzip (.hex.gz, known by its content, not its\n"
                                        "name). Lines are CODE:HEX (4-6 hex digit code, 32 or\n"
                                        "64 hex digits); blank lines and lines starting with\n"
                                        "'#' are skipped, and when a code appears twice the\n"
                                        "later line wins.")
                             ->type_name("FILE.hex[.gz]");
  CLI::Option* font = app.add_option("--font", source.font,
                                     "font file to read instead, such as\n"
                                     "/usr/share/fonts/X11/misc/wenquanyi_12pt.pcf")
                          ->type_name("FILE")
                          ->excludes(unifont);
  tools::addWholeNumberOption(app, "--face", source.face, 0, kLastFace,
                              "face of a collection (.ttc) to read, counted\nfrom 0 (default 0)",
                              [](const std::string&) { return "--face must be a whole number from 0 to 65535"; })
      ->needs(font);
  app.add_option("--out", out,
                 "directory to write asc16 and hzk16 into; created if\n"
                 "missing. Existing font files are replaced only once\n"
                 "both new ones have been written in full.")
      ->type_name("DIR")
      ->required();
  if (const auto exit = line.parse(args)) return *exit;
  if (source.unifont.empty() && source.font.empty()) return line.usageError("give --unifont FILE or --font FILE");
  if (reach == tools::Reach::checkOptions) return kExitCompleted;
  return build(source, out);
}

}  // namespace lumadot::mkfont

