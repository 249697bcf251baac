#include "mkfont/mkfont_command.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "base/utf8_path.h"
#include "base/version.h"
#include "options/command_line.h"
#include "options/glyph_options.h"
#include "extract/text_codec.h"
#include "fonts/freetype_font.h"
#include "fonts/unifont_hex.h"
#include "mkfont/font_builder.h"

namespace lumadot::mkfont {
namespace {


constexpr std::string_view kDescription =
    "Builds the raster fonts asc16 (8x16 dots, 256 glyphs) and hzk16 (16x16 dots,\n"
    "GB2312 94x94 grid), or those of another --size and --charset, from a GNU\n"
    "Unifont .hex file, plain or gzip-compressed, or from any font file FreeType\n"
    "reads: TrueType, OpenType, collections (.ttc), PCF (.pcf.gz too) and BDF. A\n"
    "face's own bitmaps of the size are used where it has them; a scalable face\n"
    "without them is rendered at the size, monochrome and hinted. It reports on\n"
    "standard error what it found and what is missing.";

constexpr std::string_view kFooter = "Exit status: 0 on success, 1 if the input or output fails, 2 on a usage error.";

// FreeType keeps the face number in 16 bits.
constexpr int kLastFace = 0xFFFF;

// Missing characters named in the report before the rest are only counted.
constexpr std::size_t kMissingNamed = 5;

struct Options {
  std::string unifont;
  std::string font;
  int face = 0;
  std::string asciiFont;
  int asciiFace = 0;
  FontRequest request;
  std::string out;
};

// The fonts a build reads, open, and what the report says of them.
struct OpenFonts {
  std::optional<UnifontGlyphs> unifont;
  std::optional<FreeTypeFont> font;
  std::optional<FreeTypeFont> ascii;
  GlyphFace face;
  GlyphFace asciiFace;
  std::string description;
  std::string asciiDescription;
};

std::string codePoint(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

std::string report(const BuiltFont& font) {
  std::string line = "lumadot-mkfont: " + font.name + ": " + std::to_string(font.found) + " of " +
                     std::to_string(font.wanted) + " characters found";
  if (!font.missing.empty()) {
    line += "; missing";
    const std::size_t named = std::min(font.missing.size(), kMissingNamed);
    for (std::size_t i = 0; i < named; ++i) {
      line += (i == 0 ? " " : ", ") + codePoint(font.missing[i]) + " " + utf16ToUtf8(std::u16string(1, static_cast<char16_t>(font.missing[i])));
    }
    if (font.missing.size() > named) line += " and " + std::to_string(font.missing.size() - named) + " more";
  }
  if (font.scaled > 0) line += "; " + std::to_string(font.scaled) + " too big for the cell, scaled down to fit";
  if (font.clipped > 0) line += ", " + std::to_string(font.clipped) + " of them past " +
                                std::to_string(SourceGlyph::kMaxInk) + " dots, cut to their middle first";
  return line + "\n";
}

// One line for a failure: what failed, then the system's reason when there is one.
std::string sentence(const Failure& failed) {
  return failed.detail.empty() ? failed.text : failed.text + ": " + failed.detail;
}

Result<void> openMainFont(const Options& options, OpenFonts& fonts) {
  const int pixels = options.request.cell.height;
  if (!options.unifont.empty()) {
    // Unifont has its 16-pixel bitmaps only, like any bitmap font of one size.
    if (pixels != 16) return Failure(options.unifont + ": has no " + std::to_string(pixels) + "-pixel size; GNU Unifont's glyphs are 16 pixels");
    auto glyphs = loadUnifontHex(pathFromUtf8(options.unifont));
    if (!glyphs) return glyphs.error();
    fonts.unifont = std::move(*glyphs);
    fonts.face = unifontFace(*fonts.unifont);
    fonts.description = options.unifont + ": GNU Unifont";
    return {};
  }
  auto font = FreeTypeFont::open(pathFromUtf8(options.font), options.face, pixels);
  if (!font) return font.error();
  fonts.font = std::move(*font);
  fonts.face = fonts.font->face();
  fonts.description = options.font + ": " + fonts.font->description();
  return {};
}

Result<void> openFonts(const Options& options, OpenFonts& fonts) {
  if (auto opened = openMainFont(options, fonts); !opened) return opened;
  if (options.asciiFont.empty()) return {};
  auto ascii = FreeTypeFont::open(pathFromUtf8(options.asciiFont), options.asciiFace, options.request.cell.height);
  if (!ascii) return ascii.error();
  fonts.ascii = std::move(*ascii);
  fonts.asciiFace = fonts.ascii->face();
  fonts.asciiDescription = options.asciiFont + ": " + fonts.ascii->description();
  return {};
}

// What the fonts read are and where their baselines lie.
std::string sourceLines(const OpenFonts& fonts, const BuiltFonts& built) {
  std::string lines = "lumadot-mkfont: " + fonts.description + ", baseline at row " + std::to_string(built.baseline) + "\n";
  if (fonts.ascii) {
    lines += "lumadot-mkfont: " + built.asc16.name + " from " + fonts.asciiDescription + ", baseline at row " +
             std::to_string(built.asciiBaseline) + "\n";
  }
  return lines;
}

int build(const Options& options) {
  OpenFonts fonts;
  if (auto opened = openFonts(options, fonts); !opened) return failure(opened.error().text);
  const BuiltFonts built = buildFonts(fonts.face, options.request, fonts.ascii ? &fonts.asciiFace : nullptr);
  // Such fonts would be blank wherever a sign shows Chinese, which nobody
  // would notice until the sign did.
  const std::string& input = options.unifont.empty() ? options.font : options.unifont;
  const std::string grid = options.request.charset == Charset::gbk ? "GBK" : "GB2312";
  if (built.hzk16.found == 0) return failure(input + ": holds no glyph for any " + grid + " character");
  const std::filesystem::path out = pathFromUtf8(options.out);
  const auto written = writeFontFiles(out, {{built.asc16.name, built.asc16.bytes}, {built.hzk16.name, built.hzk16.bytes}});
  if (!written) return failure(sentence(written.error()));
  std::cerr << sourceLines(fonts, built) << report(built.asc16) << report(built.hzk16) << "lumadot-mkfont: wrote "
            << utf8Path(out / built.asc16.name) << " and " << utf8Path(out / built.hzk16.name) << "\n";
  return kExitCompleted;
}

void addSourceOptions(CLI::App& app, Options& options) {
  CLI::Option* unifont = app.add_option("--unifont", options.unifont,
                                        "Unifont .hex file to read, such as\n"
                                        "/usr/share/unifont/unifont.hex, or one compressed\n"
                                        "with gzip (.hex.gz, known by its content, not its\n"
                                        "name). Lines are CODE:HEX (4-6 hex digit code, 32 or\n"
                                        "64 hex digits); blank lines and lines starting with\n"
                                        "'#' are skipped, and when a code appears twice the\n"
                                        "later line wins.")
                             ->type_name("FILE.hex[.gz]");
  CLI::Option* font = app.add_option("--font", options.font,
                                     "font file to read instead, such as\n"
                                     "/usr/share/fonts/X11/misc/wenquanyi_12pt.pcf")
                          ->type_name("FILE")
                          ->excludes(unifont);
  const auto badFace = [](const std::string& option) {
    return [option](const std::string&) { return option + " must be a whole number from 0 to 65535"; };
  };
  addWholeNumberOption(app, "--face", options.face, 0, kLastFace,
                              "face of a collection (.ttc) to read, counted\nfrom 0 (default 0)", badFace("--face"))
      ->needs(font);
  CLI::Option* ascii = app.add_option("--ascii-font", options.asciiFont,
                                      "font file to draw the single-byte glyphs from\n"
                                      "instead (TrueType, OpenType, PCF, BDF)")
                           ->type_name("FILE");
  addWholeNumberOption(app, "--ascii-face", options.asciiFace, 0, kLastFace,
                              "face of --ascii-font to read (default 0)", badFace("--ascii-face"))
      ->needs(ascii);
}

void addCellOptions(CLI::App& app, FontRequest& request) {
  addSizeOption(app, request.cell,
                       "glyph size: N for N x N double-byte glyphs and\n"
                       "N/2 x N single-byte ones, or WxH, each side 8 to 64\n"
                       "(default 16); the fonts are drawn H pixels high");
  addCharsetOption(app, request.charset,
                          "gb2312: write hzkN, the 94x94 GB2312 grid (default);\n"
                          "gbk: gbkN, every code page 936 double-byte character");
}

}  // namespace

int failure(const std::string& message) {
  std::cerr << "lumadot-mkfont: " << message << '\n';
  return kExitFailed;
}

int runMkfontCommand(const std::vector<std::string>& args, Reach reach) {
  CommandLine line("lumadot-mkfont", std::string(kDescription), std::string(kFooter));
  CLI::App& app = line.app();
  // Lower case, as scripts look for it; a column wide enough for "--unifont FILE.hex[.gz]".
  app.get_formatter()->label("Usage", "usage");
  app.get_formatter()->column_width(27);
  app.set_version_flag("--version", std::string("lumadot-mkfont ") + std::string(kVersion),
                       "show the version");
  Options options;
  addSourceOptions(app, options);
  addCellOptions(app, options.request);
  app.add_option("--out", options.out,
                 "directory to write the two font files into, named\n"
                 "by size and charset (asc16 and hzk16, asc24 and\n"
                 "gbk24, ...); created if missing. Existing font files\n"
                 "are replaced only once both new ones are written.")
      ->type_name("DIR")
      ->required();
  if (const auto exit = line.parse(args)) return *exit;
  if (options.unifont.empty() && options.font.empty()) return line.usageError("give --unifont FILE or --font FILE");
  if (reach == Reach::checkOptions) return kExitCompleted;
  return build(options);
}

}  // namespace lumadot::mkfont

