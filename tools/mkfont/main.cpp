// lumadot-mkfont: builds the asc16 and hzk16 raster fonts from GNU Unifont.

#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "common/arguments.h"
#include "mkfont/font_builder.h"
#include "mkfont/unifont_hex.h"

namespace {

constexpr std::string_view kProgram = "lumadot-mkfont";
constexpr std::string_view kUsage = "usage: lumadot-mkfont --unifont FILE.hex --out DIR";

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void printHelp() {
  std::cout << kUsage << "\n\n"
            << "Builds the raster fonts asc16 (8x16 dots, 256 glyphs) and hzk16 (16x16 dots,\n"
               "GB2312 94x94 grid) from a GNU Unifont .hex file.\n\n"
               "  --unifont FILE  Unifont .hex file to read, e.g. /usr/share/unifont/unifont.hex.\n"
               "                  Lines are CODE:HEX (4-6 hex digit code, 32 or 64 hex digits);\n"
               "                  blank lines and lines starting with '#' are skipped, and when\n"
               "                  a code appears twice the later line wins.\n"
               "  --out DIR       directory to write asc16 and hzk16 into; created if missing.\n"
               "                  Existing font files are replaced only once both new ones\n"
               "                  have been written in full.\n"
               "  --help          show this help and exit.\n\n"
               "Exit status: 0 on success, 1 if the input or output fails, 2 on a usage error.\n";
}

int usageError(const std::string& message) {
  std::cerr << kProgram << ": " << message << '\n' << kUsage << '\n'
            << "Try 'lumadot-mkfont --help' for more information.\n";
  return kExitUsage;
}

int failure(const std::string& message) {
  std::cerr << kProgram << ": " << message << '\n';
  return kExitFailure;
}

int run(int argc, char** argv) {
  lumadot::tools::Arguments args;
  if (const auto error = args.parse({argv + 1, argv + argc}, {{"--unifont", true}, {"--out", true}, {"--help"}})) {
    return usageError(*error);
  }
  if (args.has("--help")) {
    printHelp();
    return kExitOk;
  }
  if (!args.positionals().empty()) return usageError("unexpected argument '" + args.positionals().front() + "'");
  const auto unifont = args.value("--unifont");
  const auto out = args.value("--out");
  if (!unifont) return usageError("missing option '--unifont'");
  if (!out) return usageError("missing option '--out'");

  const auto glyphs = lumadot::loadUnifontHex(*unifont);
  if (!glyphs) return failure(glyphs.error().text);

  const auto asc16 = lumadot::buildAsc16(*glyphs);
  const auto hzk16 = lumadot::buildHzk16(*glyphs);
  if (const auto written = lumadot::writeFontFiles(*out, asc16, hzk16); !written) return failure(written.error().text);
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    return failure(e.what());
  }
}
