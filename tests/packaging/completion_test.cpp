// The bash completion of lumadot-cli and lumadot-mkfont, sourced into a real bash and called as bash calls it,
// and held to the commands and options the programs' own --help lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "help_text.h"
#include "support/process.h"

namespace lumadot {
namespace {

namespace fs = std::filesystem;
using test::helpCommands;
using test::helpOf;
using test::runProcess;
using test::TempDir;
using Offered = std::set<std::string>;

const fs::path kCli = LUMADOT_CLI_PATH;
const fs::path kMkfont = LUMADOT_MKFONT_PATH;

// In the directory given, sources the program's completion, calls the function `complete -p` names for it and
// prints its matches.
constexpr const char* kCompleteScript = R"(cd "$1" && source "$2" || exit 1
registered=$(complete -p "$3") || exit 1
function=${registered#*-F }
function=${function%% *}
COMP_LINE=$4 COMP_POINT=${#4} COMP_CWORD=$(($# - 5))
shift 4
COMP_WORDS=("$@")
"$function"
printf '%s\n' "${COMPREPLY[@]}")";

// The words bash hands a completion function, as typed: cut at blanks not escaped by a backslash, and '=' and ':'
// (of COMP_WORDBREAKS) words of their own, so "--format=a5" comes as "--format" "=" "a5". A line ending in a blank
// completes a new, empty word.
std::vector<std::string> compWords(const std::string& line) {
  const auto isBreak = [](char c) { return c == '=' || c == ':'; };
  std::vector<std::string> words{""};
  for (const char c : line) {
    if (c == ' ' && !words.back().ends_with('\\')) {
      if (!words.back().empty()) words.emplace_back();
      continue;
    }
    if (!words.back().empty() && isBreak(words.back().back()) != isBreak(c)) words.emplace_back();
    words.back() += c;
  }
  return words;
}

// What bash offers in `cwd` with the cursor at the end of `line`, whose first word names the program.
Offered offeredFor(const std::string& line, const fs::path& cwd = "/") {
  const std::vector<std::string> words = compWords(line);
  std::vector<std::string> args{"-c", kCompleteScript, "completion", cwd.string(),
                                std::string(LUMADOT_PACKAGING_DIR) + "/bash-completion/" + words.front(),
                                words.front(), line};
  args.insert(args.end(), words.begin(), words.end());
  const auto r = runProcess("/bin/bash", args, {}, {"LANG=C.UTF-8", "LC_ALL=", "BASH_ENV="});
  EXPECT_EQ(r.exitCode, 0) << line;
  EXPECT_EQ(r.err, "") << line;
  Offered offered;
  std::istringstream out(r.out);
  for (std::string match; std::getline(out, match);) {
    if (!match.empty()) offered.insert(match);
  }
  return offered;
}

struct CompletionRow {
  const char* name;
  std::string line;  // typed in a directory holding fonts/, out/ and the files of the test below
  Offered offered;   // all of it: a match more fails as one missing does
};

void PrintTo(const CompletionRow& row, std::ostream* out) { *out << '"' << row.line << '"'; }

const CompletionRow kRows[] = {
    {"OptionPrefix", "lumadot-cli extract --for", {"--format"}},
    {"Formats", "lumadot-cli extract --format ", {"listing", "a51", "as31", "sdas", "c51", "sdcc", "bin", "hex"}},
    {"FontFormats", "lumadot-cli font --format ", {"a51", "as31", "sdas", "c51", "sdcc"}},
    {"FormatAfterEquals", "lumadot-cli extract --format=a", {"a51", "as31"}},
    {"CursorOnEquals", "lumadot-cli preview --scan=", {"rows", "row-bands", "columns", "column-bands"}},
    {"ModeInUtf8", "lumadot-cli extract --mode 左", {"左移"}},
    {"Modes", "lumadot-cli clock --mode ", {"静止", "左移", "右移", "上移", "下移", "闪烁"}},
    {"Ports", "lumadot-cli sign --port com1", {"com1", "com10", "com11", "com12", "com13", "com14", "com15", "com16"}},
    {"Parity", "lumadot-cli extract --parity ", {"E", "M", "N", "O", "S"}},
    {"DataBits", "lumadot-cli sign --data-bits ", {"5", "6", "7", "8"}},
    {"StopBits", "lumadot-cli clock --stop-bits 1", {"1", "1.5"}},
    {"Speed", "lumadot-cli extract --speed 1", {"1", "10"}},
    {"Baud", "lumadot-cli sign --baud 1", {"1200", "19200", "115200"}},
    {"Locale", "lumadot-cli clock --locale POSI", {"POSIX"}},
    {"Encodings", "lumadot-cli preview --encoding gb", {"gb2312", "gbk", "gb18030"}},
    {"OutputEncodings", "lumadot-cli font --output-encoding ", {"utf-8", "gbk"}},
    {"TextFile", "lumadot-cli extract --text-file n", {"notes.txt"}},
    {"NameTakesAnyValue", "lumadot-cli extract --name -", {}},
    {"ColumnsTakeAnyValue", "lumadot-cli sign --columns ", {}},
    {"FontDirOnlyDirectories", "lumadot-cli detect --font-dir ", {"fonts", "out"}},
    {"LayoutsSize", "lumadot-cli layouts --", {"--size", "--help"}},
    {"PngFile", "lumadot-cli preview --png=n", {"notes.txt"}},
    {"PictureFile", "lumadot-cli picture --dither m", {"my file.gif"}},
    {"PictureThresholdTakesAnyValue", "lumadot-cli picture --threshold ", {}},
    {"FileNameWithEscapedBlank", "lumadot-cli sign --gif my\\ f", {"my file.gif"}},
    {"DeviceWithColons", "lumadot-cli sign --device pci-0000:00:1", {"14.0-port0"}},
    {"FilesAfterDoubleDash", "lumadot-cli extract -- --mode f", {"fonts"}},
    {"NoOptionsAfterDoubleDash", "lumadot-cli preview -- --a", {}},
    {"DoubleDashAsAValue", "lumadot-cli extract --name=-- n", {}},
    {"UnknownCommand", "lumadot-cli bogus --", {}},
    {"MkfontOption", "lumadot-mkfont --u", {"--unifont"}},
    {"UnifontHexFilesAndDirectories", "lumadot-mkfont --unifont ", {"fonts", "out", "glyphs.hex", "glyphs.hex.gz"}},
    {"FontAnyFile", "lumadot-mkfont --font g", {"glyphs.hex", "glyphs.hex.gz"}},
    {"FileNameInQuotes", "lumadot-mkfont --font \"my", {"my file.gif"}},
    {"OutDirectories", "lumadot-mkfont --out=", {"fonts", "out"}},
    {"FaceTakesAnyValue", "lumadot-mkfont --face -", {}},
};

class Completion : public ::testing::TestWithParam<CompletionRow> {};

TEST_P(Completion, OffersExactly) {
  TempDir dir;
  fs::create_directory(dir.path() / "fonts");
  fs::create_directory(dir.path() / "out");
  for (const char* file : {"glyphs.hex", "glyphs.hex.gz", "notes.txt", "my file.gif", "pci-0000:00:14.0-port0"}) {
    test::writeFile(dir.path() / file, "");
  }
  EXPECT_EQ(offeredFor(GetParam().line, dir.path()), GetParam().offered);
}

INSTANTIATE_TEST_SUITE_P(Rows, Completion, ::testing::ValuesIn(kRows),
                         [](const auto& row) { return std::string(row.param.name); });

// A --help's options: the --words of its usage lines and of its option lines' left column.
Offered helpOptions(const std::string& help) {
  static const std::regex option("--[a-z0-9][a-z0-9-]*");
  Offered options;
  bool inUsage = false;
  std::istringstream in(help);
  for (std::string line; std::getline(in, line);) {
    inUsage = line.starts_with("Usage:") || line.starts_with("usage:") || (inUsage && !line.empty());
    const auto start = line.find_first_not_of(' ');
    std::string listed;
    if (inUsage) {
      listed = line;
    } else if (start != 0 && start != std::string::npos && line[start] == '-') {
      listed = line.substr(start, line.find("  ", start) - start);
    }
    for (std::sregex_iterator it(listed.begin(), listed.end(), option), end; it != end; ++it) options.insert(it->str());
  }
  return options;
}

// A command or option the programs gain fails here until the completion offers it, and one they drop until it
// no longer does.
TEST(CompletionDrift, OffersTheCommandsAndOptionsTheHelpLists) {
  const std::string help = helpOf(kCli, {});
  const std::vector<std::string> commands = helpCommands(help);
  ASSERT_FALSE(commands.empty()) << help;
  EXPECT_EQ(offeredFor("lumadot-cli "), Offered(commands.begin(), commands.end()));
  EXPECT_EQ(offeredFor("lumadot-cli --"), helpOptions(help));
  for (const auto& command : commands) {
    EXPECT_EQ(offeredFor("lumadot-cli " + command + " --"), helpOptions(helpOf(kCli, {command}))) << command;
  }
  EXPECT_EQ(offeredFor("lumadot-mkfont --"), helpOptions(helpOf(kMkfont, {})));
}

}  // namespace
}  // namespace lumadot
