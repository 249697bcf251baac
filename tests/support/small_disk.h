#pragma once

#include <filesystem>
#include <string>

#include "support/process.h"

namespace lumadot::test {

// A tmpfs of a few pages mounted on a fresh folder, to be filled to its last
// byte: a full disk a test can make and take away again. Mounting needs root;
// without it, or where the mount fails, unavailable() says why.
class SmallDisk {
 public:
  SmallDisk();
  ~SmallDisk();  // unmounts
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  const std::filesystem::path& path() const { return m_dir.path(); }
  const std::string& unavailable() const { return m_unavailable; }

  // Takes every byte left with one file, path() / kFiller.
  void fill() const;
  static constexpr const char* kFiller = "filler";

 private:
  TempDir m_dir;
  std::string m_unavailable;
};

}  // namespace lumadot::test
