#pragma once

#include <string>
#include <vector>

#include "options/command_line.h"
#include "extract/byte_layout.h"
#include "extract/glyphs.h"
#include "preview/png_image.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace lumadot::cli {

// How preview, and the commands that draw as it does, show glyphs: in the terminal or as a PNG.
struct DrawOptions {
  bool ascii = false;
  int width = 0;  // when --width is given
  std::string png;
  int scale = kDefaultPngScale;
};

// --ascii, --width, --png and --scale; with `drawn`, --ascii and --width go only with it.
void addDrawOptions(CLI::App& app, DrawOptions& options, CLI::Option* drawn = nullptr);

// The glyphs drawn as `options` ask, read back in `layout`; returns the exit status.
int showGlyphs(const CLI::App& app, const Glyphs& glyphs, const ByteLayout& layout, const DrawOptions& options);

// lumadot-cli preview: returns the exit status.
int runPreviewCommand(const std::vector<std::string>& args, Reach reach = Reach::run);

}  // namespace lumadot::cli
