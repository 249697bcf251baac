// The install tree, made by `cmake --install` from this build into a fresh prefix: every file in its place and
// nothing else, and the programs running from it after the whole tree has been moved, finding their fonts in
// share/lumadot as an installed program must; and the build's bin/ holding those programs and fonts alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "support/process.h"

namespace lumadot {
namespace {

namespace fs = std::filesystem;
using test::runProcess;

const std::vector<std::string> kWindowPrograms = LUMADOT_WITH_GUI ? std::vector<std::string>{"lumadot", "lumadot-sign", "lumadot-workbench"}
                                                                  : std::vector<std::string>{};
const std::vector<std::string> kDesktopIds = {"org.lumadot.Lumadot", "org.lumadot.LumadotSign",
                                              "org.lumadot.LumadotWorkbench"};
const std::vector<int> kIconSizes = {16, 32, 48, 64, 128, 256};

// What the prefix must hold, and nothing more: a test build or a library slipping into the package fails here.
std::set<std::string> expectedFiles() {
  std::set<std::string> files = {"share/lumadot/asc16", "share/lumadot/hzk16",
                                 "share/bash-completion/completions/lumadot-cli",
                                 "share/bash-completion/completions/lumadot-mkfont", "share/doc/lumadot/copyright",
                                 "share/doc/lumadot/changelog.gz", "share/doc/lumadot/frame.md",
                                 "share/doc/lumadot/firmware.md", "share/lumadot/firmware/lumadot-sign.hex",
                                 "share/lumadot/firmware/lumadot-sign.map",
                                 "share/lumadot/firmware/lumadot-sign-stc12c5a60s2.hex",
                                 "share/lumadot/firmware/lumadot-sign-stc15w4k56s4-p10x4.hex",
                                 "share/lumadot/firmware/lumadot-sign-stc8h8k64u-p10x4.hex"};
  std::vector<std::string> programs = {"lumadot-cli", "lumadot-mkfont"};
  programs.insert(programs.end(), kWindowPrograms.begin(), kWindowPrograms.end());
  for (const auto& program : programs) files.insert({"bin/" + program, "share/man/man1/" + program + ".1.gz"});
  if (kWindowPrograms.empty()) return files;
  files.insert("share/metainfo/org.lumadot.Lumadot.metainfo.xml");
  for (const auto& id : kDesktopIds) {
    files.insert("share/applications/" + id + ".desktop");
    for (const int size : kIconSizes) {
      const std::string folder = std::to_string(size) + "x" + std::to_string(size);
      files.insert("share/icons/hicolor/" + folder + "/apps/" + id + ".png");
    }
  }
  return files;
}

std::string entryValue(const std::string& desktopEntry, const std::string& key) {
  const std::size_t start = desktopEntry.find("\n" + key + "=");
  if (start == std::string::npos) return {};
  const std::size_t from = start + key.size() + 2;
  return desktopEntry.substr(from, desktopEntry.find('\n', from) - from);
}

// The build's bin/ holds what an install spreads over bin/ and share/lumadot and nothing more, so a program run
// from it has the neighbours an installed one has; the test and benchmark programs are built elsewhere.
TEST(BuildTree, BinHoldsTheInstalledProgramsAndFontsAlone) {
  std::set<std::string> expected;
  for (const auto& file : expectedFiles()) {
    for (const std::string folder : {"bin/", "share/lumadot/"}) {
      // The firmware is for the sign, not a neighbour any program looks for.
      if (file.starts_with(folder) && file.find('/', folder.size()) == std::string::npos) {
        expected.insert(file.substr(folder.size()));
      }
    }
  }
  std::set<std::string> found;
  for (const auto& entry : fs::directory_iterator(LUMADOT_BIN_DIR)) found.insert(entry.path().filename().string());
  EXPECT_EQ(found, expected);
}

class InstallTree : public testing::Test {
 protected:
  // Installed once, then moved: the programs may only rely on where their files lie relative to each other.
  static void SetUpTestSuite() {
    s_dir = new test::TempDir;
    const auto installed = runProcess(LUMADOT_CMAKE, {"--install", LUMADOT_BUILD_DIR, "--prefix",
                                                      (s_dir->path() / "staged").string()});
    ASSERT_EQ(installed.exitCode, 0) << installed.out << installed.err;
    fs::rename(s_dir->path() / "staged", prefix());
  }
  static void TearDownTestSuite() { delete s_dir; }
  static fs::path prefix() { return s_dir->path() / "moved"; }

  static test::TempDir* s_dir;
};
test::TempDir* InstallTree::s_dir = nullptr;

TEST_F(InstallTree, HoldsEveryFileInItsPlaceAndNothingElse) {
  std::set<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(prefix())) {
    if (!entry.is_directory()) found.insert(entry.path().lexically_relative(prefix()).string());
  }
  EXPECT_EQ(found, expectedFiles());
}

TEST_F(InstallTree, ProgramsRunFromItAndFindTheirFonts) {
  const auto installed = runProcess(prefix() / "bin/lumadot-cli", {"extract", "中A"});
  const auto built = runProcess(LUMADOT_CLI_PATH, {"extract", "中A"});
  ASSERT_EQ(installed.exitCode, 0) << installed.err;
  EXPECT_EQ(installed.err, "");
  EXPECT_EQ(installed.out, built.out);

  std::vector<std::string> programs = {"lumadot-mkfont"};
  programs.insert(programs.end(), kWindowPrograms.begin(), kWindowPrograms.end());
  for (const auto& program : programs) {
    const auto version = runProcess(prefix() / "bin" / program, {"--version"}, {}, {"QT_QPA_PLATFORM=offscreen"});
    EXPECT_EQ(version.exitCode, 0) << program << version.err;
    EXPECT_EQ(version.out, program + " " + LUMADOT_VERSION_TEXT + "\n");
  }
}

TEST_F(InstallTree, FontsFoundNowhereNameThePlacesLookedIn) {
  test::TempDir elsewhere;  // a copy of the program alone, its share folder empty
  fs::create_directories(elsewhere.path() / "bin");
  fs::copy(prefix() / "bin/lumadot-cli", elsewhere.path() / "bin");
  const auto run = runProcess(elsewhere.path() / "bin/lumadot-cli", {"extract", "中"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "警告: 找不到字库文件“hzk16”，找过：“" + (elsewhere.path() / "bin").string() + "”、“" +
                         (elsewhere.path() / "share/lumadot").string() + "”\n");
}

TEST_F(InstallTree, MenuEntriesAndMetainfoPassTheirValidators) {
  if (kWindowPrograms.empty()) GTEST_SKIP() << "built without the window programs";
  for (const auto& id : kDesktopIds) {
    const fs::path entry = prefix() / "share/applications" / (id + ".desktop");
    const auto valid = runProcess("/usr/bin/desktop-file-validate", {entry.string()});
    EXPECT_EQ(valid.exitCode, 0) << valid.out << valid.err;
    const std::string text = test::readFile(entry);
    EXPECT_TRUE(fs::exists(prefix() / "bin" / entryValue(text, "Exec"))) << entry;
    EXPECT_EQ(entryValue(text, "Icon"), id) << entry;
  }
  const fs::path metainfo = prefix() / "share/metainfo/org.lumadot.Lumadot.metainfo.xml";
  const auto valid = runProcess("/usr/bin/appstreamcli", {"validate", "--no-net", metainfo.string()});
  EXPECT_EQ(valid.exitCode, 0) << valid.out << valid.err;
  // The newest release named in the metainfo and the changelog is the version the programs report.
  EXPECT_NE(test::readFile(metainfo).find("<release version=\"" LUMADOT_VERSION_TEXT "\""), std::string::npos);
  const auto changelog = runProcess("/bin/gzip", {"-dc", (prefix() / "share/doc/lumadot/changelog.gz").string()});
  EXPECT_EQ(changelog.out.substr(0, changelog.out.find('\n')),
            "lumadot (" LUMADOT_VERSION_TEXT ") unstable; urgency=medium");
}

TEST_F(InstallTree, IconsAreAsLargeAsTheirFolderSays) {
  if (kWindowPrograms.empty()) GTEST_SKIP() << "built without the window programs";
  for (const int size : kIconSizes) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    for (const auto& id : kDesktopIds) {
      const std::string png = test::readFile(prefix() / "share/icons/hicolor" / folder / "apps" / (id + ".png"));
      ASSERT_GE(png.size(), 24u) << folder << id;
      const auto bigEndian = [&](std::size_t at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
      };
      EXPECT_EQ(png.substr(1, 3), "PNG") << folder << id;
      EXPECT_EQ(bigEndian(16), size) << folder << id;  // IHDR width
      EXPECT_EQ(bigEndian(20), size) << folder << id;  // and height
    }
  }
}

}  // namespace
}  // namespace lumadot
