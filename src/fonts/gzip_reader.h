#pragma once

#include <istream>
#include <memory>
#include <streambuf>
#include <string>

namespace lumadot {

// True when the stream starts with a gzip header's magic bytes. Leaves the
// stream where it was.
bool startsWithGzipMagic(std::istream& in);

// The bytes a gzip stream holds, read as a stream buffer: one member or
// several back to back, as `cat a.gz b.gz` makes. Corrupt or truncated data
// ends the stream early, so a reader must check error() once it sees the end.
class GzipReader : public std::streambuf {
 public:
  explicit GzipReader(std::istream& compressed);
  ~GzipReader() override;
  GzipReader(const GzipReader&) = delete;
  GzipReader& operator=(const GzipReader&) = delete;

  // Why the data stopped before its proper end, or empty.
  const std::string& error() const;

 protected:
  int_type underflow() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

}  // namespace lumadot
