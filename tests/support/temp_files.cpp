// The files half of the test support, which builds on Windows too.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

#include "support/process.h"

namespace lumadot::test {

TempDir::TempDir() {
#ifdef _WIN32
  // No mkdtemp: a random name, taken only when nothing has it yet.
  std::random_device random;
  for (;;) {
    m_path = std::filesystem::temp_directory_path() / ("lumadot-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(m_path)) break;
  }
#else
  std::string pattern = (std::filesystem::temp_directory_path() / "lumadot-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp: " + std::string(std::strerror(errno)));
  m_path = pattern;
#endif
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(m_path, ec);
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + path.string());
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(f), {});
}

std::map<std::string, std::string> folderContents(const std::filesystem::path& dir) {
  std::map<std::string, std::string> found;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    const std::string name = entry.path().lexically_relative(dir).string();
    if (entry.is_symlink()) {
      found[name] = "link to " + std::filesystem::read_symlink(entry.path()).string();
    } else if (entry.is_directory()) {
      found[name] = "folder";
    } else {
      found[name] = "file " + readFile(entry.path());
    }
  }
  return found;
}

}  // namespace lumadot::test
