#include "base/file_reader.h"

#include <cerrno>
#include <cstring>

#include "base/utf8_path.h"

namespace lumadot {

Result<std::string> readAll(std::FILE* stream, const std::string& source, std::size_t limit) {
  std::string data;
  char buf[65536];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, stream)) > 0) {
    if (n > limit - data.size()) {
      return Failure(source + " is longer than " + std::to_string(limit >> 20) + " MiB (" + std::to_string(limit) +
                     " bytes), far more than any text for the sign; nothing was extracted");
    }
    data.append(buf, n);
  }
  if (std::ferror(stream)) return Failure("cannot read " + source + ": " + std::strerror(errno));
  return data;
}

Result<std::string> readWholeFile(const std::string& name, std::size_t limit) {
#ifdef _WIN32
  std::FILE* file = _wfopen(pathFromUtf8(name).c_str(), L"rb");
#else
  std::FILE* file = std::fopen(name.c_str(), "rb");
#endif
  if (!file) return Failure("cannot read " + name + ": " + std::strerror(errno));
  auto data = readAll(file, name, limit);
  std::fclose(file);
  return data;
}

}  // namespace lumadot
