#pragma once

// The options that choose a run's glyphs: their size (--size), the grid of
// the font files (--charset), or a font file to draw them from as they are
// asked for (--font, --face, --ascii-font). Each is typed once, here, as the
// command line is read.

#include <string>

#include "extract/font_layout.h"
#include "fonts/run_fonts.h"

namespace CLI {
class App;
}  // namespace CLI

namespace lumadot {

// --size N or WxH, each side 8 to 64.
void addSizeOption(CLI::App& app, CellSize& cell);
// --size, --charset, --font, --face and --ascii-font, in their own section.
void addFontOptions(CLI::App& app, FontChoice& choice);

// Why the sign cannot show glyphs of `choice`: it shows 16-dot glyphs only.
// Empty when it can.
std::string signRefusal(const FontChoice& choice);
// The same words for `what` ("--size 24", "a picture 24 dots high"), then what to do instead.
std::string signRefusal(const std::string& what, const std::string& remedy);

}  // namespace lumadot
