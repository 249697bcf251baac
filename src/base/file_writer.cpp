#include "base/file_writer.h"

#include <algorithm>
#include <cerrno>
#include <random>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "base/utf8_path.h"

namespace lumadot {
namespace {

namespace fs = std::filesystem;

// Leaves room for the temporary's suffix within the longest name a folder takes.
constexpr std::size_t kKeptNameLength = 200;
// Names already taken before one is free: only a folder full of our own leftovers.
constexpr int kNameAttempts = 16;
// No more than one call can write on every system.
constexpr std::size_t kLargestWrite = std::size_t{1} << 30;
// More links than this in a row is a loop; the last one reached is replaced.
constexpr int kMostLinks = 40;

// The system's error as errno where it is one (not a Windows error number).
Failure writeFailure(const fs::path& path, const std::error_code& error) {
  const bool isErrno = error.category() == std::generic_category()
#ifndef _WIN32
                       || error.category() == std::system_category()
#endif
      ;
  return Failure("cannot write " + utf8Path(path), error.message())
      .as(FailureKind::fileWrite, utf8Path(path))
      .because({CauseKind::system, error.message(), {isErrno ? error.value() : 0}});
}

Failure writeFailure(const fs::path& path, int error) {
  return writeFailure(path, std::error_code(error, std::generic_category()));
}

// The file a plain write to `path` would reach: a link's target, followed
// through further links, or `path` itself.
fs::path reachedFile(const fs::path& path) {
  fs::path file = path;
  std::error_code ec;
  for (int links = 0; links < kMostLinks && fs::is_symlink(file, ec); ++links) {
    const fs::path target = fs::read_symlink(file, ec);
    if (ec) break;
    file = target.is_absolute() ? target : file.parent_path() / target;
  }
  return file;
}

// Two programs writing into one folder must not pick the same temporary name.
fs::path temporaryBeside(const fs::path& target) {
  constexpr std::string_view kDigits = "0123456789abcdef";
  std::random_device device;
  std::mt19937_64 engine((static_cast<std::mt19937_64::result_type>(device()) << 32) ^ device());
  std::string suffix = ".tmp-";
  for (int i = 0; i < 12; ++i) suffix.push_back(kDigits[engine() % kDigits.size()]);
  fs::path::string_type name = target.filename().native();
  if (name.size() > kKeptNameLength) name.resize(kKeptNameLength);
  return target.parent_path() / fs::path(name).concat(suffix);
}

#ifdef _WIN32
int refusal(const fs::path& target) { return ::_waccess(target.c_str(), 2) == 0 || errno == ENOENT ? 0 : errno; }

int openNew(const fs::path& temporary, const fs::path&) {
  return ::_wopen(temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

long long writeSome(int fd, const std::uint8_t* data, std::size_t size) {
  return ::_write(fd, data, static_cast<unsigned>(size));
}
int flushToDisk(int fd) { return ::_commit(fd); }
int closeFile(int fd) { return ::_close(fd); }
#else
// A file its owner made read-only is refused, as a plain write would refuse it;
// renaming over it would not ask.
int refusal(const fs::path& target) { return ::access(target.c_str(), W_OK) == 0 || errno == ENOENT ? 0 : errno; }

// Opened only if the name is new, with the old file's mode when there is an
// old file. A folder that keeps no modes (FAT) may refuse the mode; the
// content matters more, so that refusal is let pass.
int openNew(const fs::path& temporary, const fs::path& target) {
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  struct stat old {};
  if (fd >= 0 && ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    static_cast<void>(::fchmod(fd, old.st_mode & 07777));
  }
  return fd;
}

long long writeSome(int fd, const std::uint8_t* data, std::size_t size) { return ::write(fd, data, size); }
// A full disk or a failing one can show only here, once the data leaves the cache.
int flushToDisk(int fd) { return ::fsync(fd); }
int closeFile(int fd) { return ::close(fd); }
#endif

// 0 once every byte is written and on the disk, else the system's error.
int writeAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const long long written = writeSome(fd, bytes.data(), std::min(bytes.size(), kLargestWrite));
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) return errno;
    bytes = bytes.subspan(static_cast<std::size_t>(written));
  }
  return flushToDisk(fd) == 0 ? 0 : errno;
}

}  // namespace

Result<StagedFile> StagedFile::write(const fs::path& path, std::span<const std::uint8_t> bytes) {
  const fs::path target = reachedFile(path);
  if (const int refused = refusal(target)) return writeFailure(path, refused);
  fs::path temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < kNameAttempts; ++attempt) {
    temporary = temporaryBeside(target);
    fd = openNew(temporary, target);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return writeFailure(path, errno);
  StagedFile staged(path, target, temporary);  // from here on, a failure removes the temporary
  const int written = writeAll(fd, bytes);
  const int closed = closeFile(fd) == 0 ? 0 : errno;
  if (written != 0 || closed != 0) return writeFailure(path, written != 0 ? written : closed);
  return staged;
}

StagedFile::StagedFile(fs::path named, fs::path target, fs::path temporary)
    : m_named(std::move(named)), m_target(std::move(target)), m_temporary(std::move(temporary)) {}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : m_named(std::move(other.m_named)),
      m_target(std::move(other.m_target)),
      m_temporary(std::exchange(other.m_temporary, {})) {}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept {
  if (this != &other) {
    discard();
    m_named = std::move(other.m_named);
    m_target = std::move(other.m_target);
    m_temporary = std::exchange(other.m_temporary, {});
  }
  return *this;
}

StagedFile::~StagedFile() { discard(); }

void StagedFile::discard() noexcept {
  if (m_temporary.empty()) return;
  std::error_code ignored;  // nothing better to do with a temporary that will not go
  fs::remove(m_temporary, ignored);
  m_temporary.clear();
}

Result<void> StagedFile::commit() {
  std::error_code ec;
  fs::rename(m_temporary, m_target, ec);
  if (ec) return writeFailure(m_named, ec);
  m_temporary.clear();
  return {};
}

Result<void> replaceFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
  auto staged = StagedFile::write(path, bytes);
  if (!staged) return staged.error();
  return staged->commit();
}

Result<void> replaceFile(const fs::path& path, std::string_view bytes) {
  return replaceFile(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

}  // namespace lumadot
