#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lumadot::test {

struct ProcessResult {
  int exitCode = -1;  // -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// Runs a program with the given arguments (no shell), feeding stdinData and
// collecting both output streams. Extra environment entries are "NAME=value"
// and replace inherited ones of the same name. A non-zero `interruptAfter`
// sends the process SIGINT, as Ctrl+C would, once that time has passed.
// With `stdoutOnTerminal` standard output is a pseudo-terminal in raw mode,
// so the program sees a terminal and its bytes arrive untranslated.
ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::string& stdinData = {}, const std::vector<std::string>& extraEnv = {},
                         std::chrono::milliseconds interruptAfter = {}, bool stdoutOnTerminal = false);

// Shown what the program has written so far each time it writes more, so a
// test acts on what it has done, not on how long it has had; once it returns
// true the program gets SIGINT, as Ctrl+C would.
using OutputWatch = std::function<bool(const ProcessResult& soFar)>;

// runProcess, with no input, watched by `watch`.
ProcessResult runWatchedProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                                const std::vector<std::string>& extraEnv, const OutputWatch& watch,
                                bool stdoutOnTerminal = false);

// A fresh directory under the system's temp dir, removed when the object dies.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);
// Everything under `dir` by its path relative to it: "file " and each file's
// bytes, "link to " and each link's target, "folder" for each folder.
std::map<std::string, std::string> folderContents(const std::filesystem::path& dir);

}  // namespace lumadot::test
