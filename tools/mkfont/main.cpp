// lumadot-mkfont: builds the asc16 and hzk16 raster fonts from GNU Unifont.

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
