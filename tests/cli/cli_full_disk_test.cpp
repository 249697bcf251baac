// Every program that writes a file, writing it onto a full disk: it fails
// with exit 1, the file already there keeps its bytes, and no temporary file
// is left behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <future>
#include <ostream>
#include <string>
#include <vector>

#include "support/process.h"
#include "support/serial_line.h"
#include "support/small_disk.h"

namespace lumadot {
namespace {

namespace fs = std::filesystem;
using test::ProcessResult;
using test::runProcess;

const fs::path kCli = LUMADOT_CLI_PATH;
const fs::path kMkfont = LUMADOT_MKFONT_PATH;

// The sign's frame for 中A, as a file: what the sign is fed below.
std::vector<std::uint8_t> frameBytes() {
  const test::TempDir dir;
  const auto made = runProcess(kCli, {"extract", "--frame-out", (dir.path() / "frame.bin").string(), "--reverse",
                                      "--split", "中A"});
  EXPECT_EQ(made.exitCode, 0) << made.err;
  const std::string bytes = test::readFile(dir.path() / "frame.bin");
  return {bytes.begin(), bytes.end()};
}

ProcessResult signWritingGif(const fs::path& gif) {
  const auto frame = frameBytes();
  const test::SerialLine line;
  auto sign = std::async(std::launch::async, [&] {
    return runProcess(kCli, {"sign", "--device", line.sign(), "--count", "1", "--gif", gif.string()});
  });
  line.send(frame);  // the line holds it until the sign has opened its end
  return sign.get();
}

ProcessResult mkfontWritingInto(const fs::path& out) {
  const test::TempDir dir;
  test::writeFile(dir.path() / "in.hex", "4E2D:" + std::string(64, 'F') + "\n");
  return runProcess(kMkfont, {"--unifont", (dir.path() / "in.hex").string(), "--out", out.string()});
}

struct FullDiskRow {
  const char* name;
  const char* file;  // already on the disk, and what the program writes
  std::function<ProcessResult(const fs::path& file)> run;
};

void PrintTo(const FullDiskRow& row, std::ostream* out) { *out << row.name; }

const FullDiskRow kFullDiskRows[] = {
    {"PreviewPng", "a.png", [](const fs::path& file) { return runProcess(kCli, {"preview", "--png", file.string(), "中A"}); }},
    {"SignGif", "sign.gif", signWritingGif},
    {"ExtractFrameOut", "frame.bin",
     [](const fs::path& file) { return runProcess(kCli, {"extract", "--frame-out", file.string(), "中A"}); }},
    {"Mkfont", "asc16", [](const fs::path& file) { return mkfontWritingInto(file.parent_path()); }},
};

class FullDisk : public ::testing::TestWithParam<FullDiskRow> {
 protected:
  void SetUp() override {
    if (!m_disk.unavailable().empty()) GTEST_SKIP() << m_disk.unavailable();
  }
  test::SmallDisk m_disk;  // unmounted when the test is torn down
};

TEST_P(FullDisk, FailsLeavingTheOldFileAndNoTemporary) {
  const FullDiskRow& row = GetParam();
  const fs::path file = m_disk.path() / row.file;
  test::writeFile(file, std::string("old bytes\0of a file that was there first", 41));
  m_disk.fill();
  const auto before = test::folderContents(m_disk.path());
  const ProcessResult r = row.run(file);
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("cannot write " + file.string()), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
  EXPECT_EQ(test::folderContents(m_disk.path()), before);
}

INSTANTIATE_TEST_SUITE_P(Programs, FullDisk, ::testing::ValuesIn(kFullDiskRows),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot
