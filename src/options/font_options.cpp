#include "options/font_options.h"

#include <CLI/CLI.hpp>

#include "options/command_line.h"
#include "options/glyph_options.h"
#include "run/sign_can_show.h"

namespace lumadot {
namespace {

constexpr const char* kSection = "Glyphs";

}  // namespace

void addSizeOption(CLI::App& app, CellSize& cell) {
  addSizeOption(app, cell,
                       "glyph size: N for N x N double-byte glyphs and\n"
                       "N/2 x N single-byte ones, or WxH (each side 8 to 64;\n"
                       "default 16)")
      ->group(kSection);
}

void addFontOptions(CLI::App& app, FontChoice& choice) {
  addSizeOption(app, choice.cell);
  addCharsetOption(app, choice.charset,
                          "gb2312: the font files hzkN (default); gbk: gbkN,\n"
                          "which has a place for every double-byte character")
      ->group(kSection);
  app.add_option("--font", choice.file,
                 "draw each glyph from this font file (TrueType,\n"
                 "OpenType, PCF, BDF) at the size asked, instead\n"
                 "of the font files")
      ->type_name("FILE")
      ->group(kSection);
  addWholeNumberOption(app, "--face", choice.face, 0, 999, "the face of a collection --font holds (default 0)",
                              [](const std::string& value) { return "--face takes 0 to 999, not '" + value + "'"; })
      ->group(kSection)
      ->needs("--font");
  app.add_option("--ascii-font", choice.asciiFile, "the single-byte glyphs from this font file instead")
      ->type_name("FILE")
      ->group(kSection)
      ->needs("--font");
}

std::string signRefusal(const FontChoice& choice) {
  if (signCanShow(choice.cell)) return {};
  return signRefusal("--size " + choice.cell.name(), "leave out --size");
}

std::string signRefusal(const std::string& what, const std::string& remedy) {
  return "the sign shows 16-dot glyphs, so " + what + " cannot be sent; " + remedy;
}

}  // namespace lumadot
