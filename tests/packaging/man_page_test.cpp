#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "help_text.h"
#include "support/named_rows.h"
#include "support/process.h"

namespace lumadot {
namespace {

using test::PrintTo;

using test::ProcessResult;
using test::readFile;
using test::runProcess;

std::string pagePath(const std::string& name) { return std::string(LUMADOT_PACKAGING_DIR) + "/man/" + name + ".1"; }

// As man shows the page on an 80-column terminal; groff's warnings go to standard error.
ProcessResult renderPage(const std::string& name) {
  return runProcess("/usr/bin/man", {"--warnings", "-E", "UTF-8", "-P", "cat", "-l", pagePath(name)}, {},
                    {"MANWIDTH=80", "LANG=C.UTF-8", "LC_ALL=C.UTF-8"});
}

// Every --long-option a text names, so a help text and a page are read alike.
std::set<std::string> longOptions(const std::string& text) {
  static const std::regex option(R"((?:^|[^-\w])(--[a-z0-9]+(?:-[a-z0-9]+)*))");
  std::set<std::string> found;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it) {
    found.insert((*it)[1]);
  }
  return found;
}

// The rendered lines under a subsection heading ("   extract"), up to the next heading of any level.
std::string subsection(const std::string& page, const std::string& heading) {
  std::istringstream in(page);
  std::string body, line;
  while (std::getline(in, line) && line != "   " + heading) {
  }
  while (std::getline(in, line) && (line.empty() || line.find_first_not_of(' ') >= 7)) body += line + '\n';
  return body;
}

struct Page {
  std::string name;
  std::string program;            // whose --help lists the options the page must show
  std::set<std::string> options;  // for the GUI programs, not built here: from their main() and Qt's parser
};

class ManPageTest : public testing::TestWithParam<Page> {};

TEST_P(ManPageTest, RendersWithoutWarningsAndNamesItselfForWhatis) {
  const Page& page = GetParam();
  const ProcessResult rendered = renderPage(page.name);
  EXPECT_EQ(rendered.exitCode, 0);
  EXPECT_EQ(rendered.err, "");
  // mandb reads the NAME line the same way when the page is installed; apropos and whatis find it by that.
  const ProcessResult whatis = runProcess("/usr/bin/lexgrog", {pagePath(page.name)});
  EXPECT_EQ(whatis.exitCode, 0);
  EXPECT_NE(whatis.out.find(": \"" + page.name + " - "), std::string::npos) << whatis.out;
  // An unescaped "-" is a hyphen, which groff may draw as U+2010 and which then cannot be pasted as an option.
  EXPECT_EQ(readFile(pagePath(page.name)).find("--"), std::string::npos);
}

TEST_P(ManPageTest, ShowsEveryLongOptionOfTheProgram) {
  const Page& page = GetParam();
  std::set<std::string> options = page.options;
  if (!page.program.empty()) options = longOptions(test::helpOf(page.program));
  ASSERT_FALSE(options.empty());
  const std::set<std::string> shown = longOptions(renderPage(page.name).out);
  for (const std::string& option : options) EXPECT_TRUE(shown.contains(option)) << option;
}

const Page kPages[] = {
    {"lumadot", "", {"--font-dir", "--help", "--help-all", "--version"}},
    {"lumadot-cli", LUMADOT_CLI_PATH, {}},
    {"lumadot-mkfont", LUMADOT_MKFONT_PATH, {}},
    {"lumadot-sign", "", {"--columns", "--help", "--help-all", "--version"}},
    {"lumadot-workbench", LUMADOT_WITH_GUI ? LUMADOT_WORKBENCH_PATH : "", {"--help", "--version"}},
};

INSTANTIATE_TEST_SUITE_P(Pages, ManPageTest, testing::ValuesIn(kPages), [](const auto& row) {
  std::string name = row.param.name;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

// Each command has a subsection of its own, holding every option its --help lists; the options
// every command takes (--help) are shown once, under OPTIONS, and checked above.
TEST(ManPageCliTest, DocumentsEveryCommandWithItsOptions) {
  const std::string help = test::helpOf(LUMADOT_CLI_PATH);
  const std::vector<std::string> commands = test::helpCommands(help);
  ASSERT_FALSE(commands.empty()) << help;
  const std::set<std::string> common = longOptions(help);
  const std::string page = renderPage("lumadot-cli").out;
  for (const std::string& command : commands) {
    SCOPED_TRACE(command);
    const std::string section = subsection(page, command);
    EXPECT_NE(section, "") << "no subsection for the command";
    const std::set<std::string> shown = longOptions(section);
    for (const std::string& option : longOptions(test::helpOf(LUMADOT_CLI_PATH, {command}))) {
      EXPECT_TRUE(common.contains(option) || shown.contains(option)) << option;
    }
  }
}

}  // namespace
}  // namespace lumadot
