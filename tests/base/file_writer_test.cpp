#include "base/file_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <utility>

#include "support/process.h"
#include "support/small_disk.h"

namespace lumadot {
namespace {

namespace fs = std::filesystem;
using test::folderContents;
using test::readFile;
using test::SmallDisk;
using test::TempDir;
using test::writeFile;

fs::path existing(const fs::path& path, fs::perms mode) {
  writeFile(path, "old");
  fs::permissions(path, mode);
  return path;
}

struct WriterRow {
  const char* name;
  std::function<fs::path(const fs::path& dir)> prepare;  // makes what stands in dir; the path written to
  std::string reason;                 // the failure's detail; empty: the write succeeds
  fs::perms mode = fs::perms::none;   // the file's after a write that succeeds; none: not asked
  mode_t umask = 022;
  const char* reached = nullptr;      // where the bytes land, under dir, when not the path written to
  bool onFullDisk = false;
};

void PrintTo(const WriterRow& row, std::ostream* out) { *out << row.name; }

const bool kRoot = ::geteuid() == 0;
const std::string kBytes("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);

const WriterRow kWriterRows[] = {
    {"NewFileUnderUmask022", [](const fs::path& dir) { return dir / "a.png"; }, "", fs::perms(0644)},
    {"NewFileUnderUmask077", [](const fs::path& dir) { return dir / "a.png"; }, "", fs::perms(0600), 077},
    {"ReplacedFileKeepsItsMode", [](const fs::path& dir) { return existing(dir / "a.png", fs::perms(0604)); }, "",
     fs::perms(0604), 077},
    {"LongNameStillLeavesRoomForTheTemporary",
     [](const fs::path& dir) { return existing(dir / (std::string(250, 'n') + ".png"), fs::perms(0644)); }, ""},
    {"LinkStaysALinkToTheReplacedFile",
     [](const fs::path& dir) {
       fs::create_directory(dir / "real");
       existing(dir / "real" / "a.png", fs::perms(0640));
       fs::create_symlink(fs::path("real") / "a.png", dir / "link.png");
       return dir / "link.png";
     },
     "", fs::perms(0640), 022, "real/a.png"},
    {"DanglingLinkMakesItsFile",
     [](const fs::path& dir) {
       fs::create_symlink("made.png", dir / "link.png");
       return dir / "link.png";
     },
     "", fs::perms(0644), 022, "made.png"},
    {"MissingFolder", [](const fs::path& dir) { return dir / "no" / "such.png"; }, "No such file or directory"},
    {"FileForAFolder",
     [](const fs::path& dir) {
       writeFile(dir / "file", "x");
       return dir / "file" / "a.png";
     },
     "Not a directory"},
    {"FolderInTheWay",
     [](const fs::path& dir) {
       fs::create_directories(dir / "a.png" / "inside");
       return dir / "a.png";
     },
     "Is a directory"},
    // Root writes any file, as a plain write would let it.
    {"ReadOnlyFile", [](const fs::path& dir) { return existing(dir / "a.png", fs::perms(0444)); },
     kRoot ? "" : "Permission denied", fs::perms(0444)},
    {"FullDisk", [](const fs::path& dir) { return existing(dir / "a.png", fs::perms(0644)); },
     "No space left on device", fs::perms::none, 022, nullptr, true},
};

class FileWriterTest : public ::testing::TestWithParam<WriterRow> {};

// The file holds the new bytes in full, or is exactly as it was; nothing else changes.
TEST_P(FileWriterTest, ReplacesTheFileWholeOrLeavesItAsItWas) {
  const WriterRow& row = GetParam();
  TempDir temp;
  std::optional<SmallDisk> disk;
  if (row.onFullDisk && !disk.emplace().unavailable().empty()) GTEST_SKIP() << disk->unavailable();
  const fs::path dir = disk ? disk->path() : temp.path();
  const fs::path path = row.prepare(dir);
  if (disk) disk->fill();
  auto expected = folderContents(dir);

  const mode_t umaskBefore = ::umask(row.umask);
  const Result<void> written = replaceFile(path, kBytes);
  ::umask(umaskBefore);

  const fs::path reached = row.reached ? dir / row.reached : path;
  if (row.reason.empty()) {
    ASSERT_TRUE(written) << written.error().text << ": " << written.error().detail;
    expected[reached.lexically_relative(dir).string()] = "file " + kBytes;
    if (row.mode != fs::perms::none) {
      EXPECT_EQ(fs::status(reached).permissions(), row.mode);
    }
  } else {
    ASSERT_FALSE(written);
    const Failure& failure = written.error();
    EXPECT_EQ(failure.text, "cannot write " + path.string());
    EXPECT_EQ(failure.detail, row.reason);
    // What a window words: the file, and the system's error as its number.
    EXPECT_EQ(failure.kind, FailureKind::fileWrite);
    EXPECT_EQ(failure.subject, path.string());
    EXPECT_EQ(failure.cause.kind, CauseKind::system);
    EXPECT_EQ(std::generic_category().message(static_cast<int>(failure.cause.numbers[0])), row.reason);
  }
  EXPECT_EQ(folderContents(dir), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, FileWriterTest, ::testing::ValuesIn(kWriterRows),
                         [](const auto& row) { return std::string(row.param.name); });

std::span<const std::uint8_t> bytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Written beside the file, in place only once committed; dropped, it leaves no trace.
TEST(StagedFile, GoesInPlaceOnlyWhenCommitted) {
  TempDir dir;
  writeFile(dir.path() / "asc16", "old");
  const auto before = folderContents(dir.path());
  const std::string fresh = "new";
  {
    auto staged = StagedFile::write(dir.path() / "asc16", bytesOf(fresh));
    ASSERT_TRUE(staged) << staged.error().detail;
    const StagedFile moved = std::move(*staged);  // one temporary, whoever holds it
    const auto during = folderContents(dir.path());
    ASSERT_EQ(during.size(), 2u);
    EXPECT_TRUE(std::next(during.begin())->first.starts_with("asc16.tmp-")) << std::next(during.begin())->first;
    EXPECT_EQ(std::next(during.begin())->second, "file new");
    EXPECT_EQ(readFile(dir.path() / "asc16"), "old");
  }
  EXPECT_EQ(folderContents(dir.path()), before);

  auto staged = StagedFile::write(dir.path() / "asc16", bytesOf(fresh));
  ASSERT_TRUE(staged);
  ASSERT_TRUE(staged->commit());
  EXPECT_EQ(folderContents(dir.path()), (std::map<std::string, std::string>{{"asc16", "file new"}}));
}

}  // namespace
}  // namespace lumadot
