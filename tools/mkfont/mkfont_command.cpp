#include "mkfont/mkfont_command.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "base/version.h"
#include "common/command_line.h"
#include "mkfont/font_builder.h"
#include "mkfont/unifont_hex.h"

namespace lumadot::mkfont {
namespace {

using tools::kExitCompleted;
using tools::kExitFailed;

constexpr std::string_view kDescription =
    "Builds the raster fonts asc16 (8x16 dots, 256 glyphs) and hzk16 (16x16 dots,\n"
    "GB2312 94x94 grid) from a GNU Unifont .hex file, plain or gzip-compressed.";

constexpr std::string_view kFooter = "Exit status: 0 on success, 1 if the input or output fails, 2 on a usage error.";

std::string summary(const std::filesystem::path& out, const BuiltFont& asc16, const BuiltFont& hzk16) {
  const auto counts = [](const BuiltFont& font) {
    return std::to_string(font.found) + " of " + std::to_string(font.wanted);
  };
  return "lumadot-mkfont: wrote " + (out / "asc16").string() + " (" + counts(asc16) + " glyphs) and " +
         (out / "hzk16").string() + " (" + counts(hzk16) + " glyphs in the GB2312 grid)\n";
}

int build(const std::string& unifont, const std::filesystem::path& out) {
  const auto glyphs = loadUnifontHex(unifont);
  if (!glyphs) return failure(glyphs.error().text);
  const auto asc16 = buildAsc16(*glyphs);
  const auto hzk16 = buildHzk16(*glyphs);
  // Such fonts would be blank wherever a sign shows Chinese, which nobody
  // would notice until the sign did.
  if (hzk16.found == 0) return failure(unifont + ": holds no glyph for any GB2312 character");
  const auto written = writeFontFiles(out, asc16.bytes, hzk16.bytes);
  if (!written) return failure(written.error().text);
  std::cout << summary(out, asc16, hzk16);
  return kExitCompleted;
}

}  // namespace

int failure(const std::string& message) {
  std::cerr << "lumadot-mkfont: " << message << '\n';
  return kExitFailed;
}

int runMkfontCommand(const std::vector<std::string>& args, tools::Reach reach) {
  tools::CommandLine line("lumadot-mkfont", std::string(kDescription), std::string(kFooter));
  line.setUsageLabel("usage");
  CLI::App& app = line.app();
  app.set_version_flag("--version", std::string("lumadot-mkfont ") + std::string(kVersion),
                       "show the version");
  std::string unifont;
  std::string out;
  std::vector<std::string> extra;
  app.add_option("--unifont", unifont,
                 "Unifont .hex file to read, such as\n"
                 "/usr/share/unifont/unifont.hex, or one compressed\n"
                 "with gzip (.hex.gz, known by its content, not its\n"
                 "name). Lines are CODE:HEX (4-6 hex digit code, 32 or\n"
                 "64 hex digits); blank lines and lines starting with\n"
                 "'#' are skipped, and when a code appears twice the\n"
                 "later line wins.")
      ->type_name("FILE.hex[.gz]")
      ->required();
  app.add_option("--out", out,
                 "directory to write asc16 and hzk16 into; created if\n"
                 "missing. Existing font files are replaced only once\n"
                 "both new ones have been written in full.")
      ->type_name("DIR")
      ->required();
  app.add_option("ARGUMENT", extra)->group("");  // refused below with the reason
  if (const auto exit = line.parse(args)) return *exit;
  if (!extra.empty()) return line.usageError("unexpected argument '" + extra.front() + "'");
  if (reach == tools::Reach::checkOptions) return kExitCompleted;
  return build(unifont, out);
}

}  // namespace lumadot::mkfont

