#pragma once

// Every file Lumadot writes goes through here. The new content is written in
// full to a temporary file beside the old one, then renamed over it, so a full
// disk or a program killed half-way leaves the old file whole and no piece of
// the new one. A replaced file keeps its permissions; a new one gets what a
// plain write would give it, 0666 less the umask. A link stays a link: the
// file it leads to is the one replaced. Failures read "cannot write PATH",
// with the system's reason as their detail.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "base/result.h"

namespace lumadot {

// The file at `path` now holds `bytes`, whether it was there before or not.
Result<void> replaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
Result<void> replaceFile(const std::filesystem::path& path, std::string_view bytes);

// New content for a file, complete on disk beside it but not yet in its place:
// what lets several files be replaced only once every one of them is written.
// Dropped before commit(), it takes its temporary file with it.
class StagedFile {
 public:
  static Result<StagedFile> write(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

  StagedFile(StagedFile&& other) noexcept;
  StagedFile& operator=(StagedFile&& other) noexcept;
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;
  ~StagedFile();

  // Puts the content in its place; a failure leaves the old file as it was.
  Result<void> commit();

 private:
  StagedFile(std::filesystem::path named, std::filesystem::path target, std::filesystem::path temporary);
  void discard() noexcept;

  std::filesystem::path m_named;      // as the caller gave it, for messages
  std::filesystem::path m_target;     // what gets replaced: a link's file, when it is a link
  std::filesystem::path m_temporary;  // empty once committed or moved from
};

}  // namespace lumadot
