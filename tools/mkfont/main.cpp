// lumadot-mkfont: builds the raster fonts (asc16 and hzk16, or other sizes and the GBK grid) from a font file.

#include <exception>
#include <string>
#include <vector>

#include "mkfont/mkfont_command.h"

int main(int argc, char** argv) {
  try {
    return lumadot::mkfont::runMkfontCommand({argv + 1, argv + argc});
  } catch (const std::exception& e) {
    return lumadot::mkfont::failure(e.what());
  }
}
