// lumadot-mkfont: builds the raster fonts (asc16 and hzk16, or other sizes and the GBK grid) from a font file.

#include <exception>
#include <string>
#include <vector>

#include "common/program_start.h"
#include "mkfont/mkfont_command.h"

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args = lumadot::tools::programArguments(argc, argv);
    lumadot::tools::setUpStandardStreams();
    return lumadot::mkfont::runMkfontCommand(args);
  } catch (const std::exception& e) {
    return lumadot::mkfont::failure(e.what());
  }
}
