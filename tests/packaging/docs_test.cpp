// The pages a newcomer walks stay true to the tree: every relative link leads to a file (and to a
// heading of it), the README stays a front page that reaches every page, and the architecture page
// names every folder the source tree has today.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/process.h"

namespace lumadot {
namespace {

namespace fs = std::filesystem;
using test::readFile;

const fs::path kTop = LUMADOT_SOURCE_DIR;

// README.md and docs/*.md, as paths from the top of the tree.
std::vector<std::string> pages() {
  std::vector<std::string> found{"README.md"};
  for (const auto& entry : fs::directory_iterator(kTop / "docs"))
    if (entry.path().extension() == ".md") found.push_back("docs/" + entry.path().filename().string());
  std::sort(found.begin() + 1, found.end());
  return found;
}

// The page without its fenced code blocks, where brackets and '#' lines are code, not links or headings.
std::vector<std::string> proseLines(const fs::path& page) {
  std::vector<std::string> lines;
  std::istringstream in(readFile(page));
  bool fenced = false;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("```")) fenced = !fenced;
    else if (!fenced) lines.push_back(line);
  }
  return lines;
}

// The anchor GitHub gives a heading: lower case, spaces to hyphens, ASCII punctuation but - and _ dropped.
std::string anchorOf(const std::string& heading) {
  std::string anchor;
  for (const unsigned char c : heading) {
    if (c == ' ') anchor += '-';
    else if (c >= 0x80 || std::isalnum(c) || c == '-' || c == '_') anchor += static_cast<char>(std::tolower(c));
  }
  return anchor;
}

std::set<std::string> anchorsOf(const fs::path& page) {
  static const std::regex heading(R"(^#+\s+(.*?)\s*$)");
  std::set<std::string> anchors;
  std::smatch m;
  for (const auto& line : proseLines(page))
    if (std::regex_match(line, m, heading)) anchors.insert(anchorOf(m[1]));
  return anchors;
}

// Targets of [text](target) and ![alt](target) that stay inside the tree.
std::vector<std::string> relativeLinks(const fs::path& page) {
  static const std::regex link(R"(\]\(([^)\s]+)\))");
  std::vector<std::string> links;
  for (const auto& line : proseLines(page))
    for (std::sregex_iterator it(line.begin(), line.end(), link), end; it != end; ++it)
      if (const std::string target = (*it)[1]; target.find("://") == std::string::npos) links.push_back(target);
  return links;
}

class DocsPage : public ::testing::TestWithParam<std::string> {};

TEST_P(DocsPage, EveryRelativeLinkLeadsToAFileAndItsHeading) {
  const fs::path page = kTop / GetParam();
  const auto links = relativeLinks(page);
  EXPECT_FALSE(links.empty()) << GetParam() << " links to no other page";
  for (const auto& link : links) {
    const auto hash = link.find('#');
    const fs::path target = hash == 0 ? page : page.parent_path() / link.substr(0, hash);
    if (!fs::is_regular_file(target)) {
      ADD_FAILURE() << GetParam() << ": " << link << " leads to no file";
    } else if (hash != std::string::npos) {
      EXPECT_TRUE(anchorsOf(target).contains(link.substr(hash + 1))) << GetParam() << ": " << link << " leads to no heading";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, DocsPage, ::testing::ValuesIn(pages()), [](const auto& row) {
  std::string name = fs::path(row.param).stem().string();
  std::replace_if(name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); }, '_');
  return name;
});

// Words as `wc -w` counts them in a UTF-8 locale, where the ideographic space also parts words.
std::size_t wordCount(std::string text) {
  for (std::size_t at; (at = text.find("\u3000")) != std::string::npos;) text.replace(at, 3, " ");
  std::istringstream in(text);
  return static_cast<std::size_t>(std::distance(std::istream_iterator<std::string>(in), {}));
}

TEST(DocsReadme, IsAShortFrontPageThatLinksEveryPage) {
  const fs::path readme = kTop / "README.md";
  EXPECT_LT(wordCount(readFile(readme)), 1500u);
  const auto links = relativeLinks(readme);
  for (const auto& page : pages()) {
    if (page == "README.md") continue;
    EXPECT_NE(std::find(links.begin(), links.end(), page), links.end()) << page << " is not linked";
  }
}

// Each row: a top-level folder whose every subfolder the architecture page names as FOLDER/NAME.
class DocsArchitecture : public ::testing::TestWithParam<const char*> {};

TEST_P(DocsArchitecture, NamesEveryFolder) {
  const std::string page = readFile(kTop / "docs/architecture.md");
  std::size_t folders = 0;
  for (const auto& entry : fs::directory_iterator(kTop / GetParam())) {
    if (!entry.is_directory()) continue;
    ++folders;
    const std::string name = std::string(GetParam()) + "/" + entry.path().filename().string();
    // src/sign must be named for itself, not only inside src/sign_window.
    const std::regex named(name + "(?![A-Za-z0-9_])");
    EXPECT_TRUE(std::regex_search(page, named)) << name;
  }
  EXPECT_GT(folders, 0u) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Folders, DocsArchitecture, ::testing::Values("src", "tools", "tests"),
                         [](const auto& row) { return std::string(row.param); });

}  // namespace
}  // namespace lumadot
