#include "fonts/gzip_reader.h"

#include <zlib.h>

#include <array>
#include <vector>

namespace lumadot {
namespace {

constexpr int kGzipOnly = 15 + 16;  // the largest window, and a gzip header required
constexpr std::size_t kChunk = 64 * 1024;

}  // namespace

struct GzipReader::Impl {
  explicit Impl(std::istream& compressed) : in(compressed), input(kChunk), output(kChunk) {
    if (inflateInit2(&z, kGzipOnly) == Z_OK) {
      live = true;
    } else {
      error = "cannot start decompressing: out of memory";
    }
  }
  ~Impl() {
    if (live) inflateEnd(&z);
  }

  bool fail(std::string why) {
    error = std::move(why);
    return false;
  }
  bool readInput();
  bool inflateSome();

  std::istream& in;
  z_stream z{};
  bool live = false;
  bool memberEnded = false;
  std::string error;
  std::vector<char> input;
  std::vector<char> output;
};

// False at the end of the file, and on a read error or a file cut short.
bool GzipReader::Impl::readInput() {
  in.read(input.data(), static_cast<std::streamsize>(input.size()));
  z.next_in = reinterpret_cast<Bytef*>(input.data());
  z.avail_in = static_cast<uInt>(in.gcount());
  if (z.avail_in > 0) return true;
  if (in.bad()) return fail("read error");
  if (!memberEnded) return fail("the gzip data ends early; the file is truncated");
  return false;
}

// Inflates what input there is into the output buffer; false when nothing
// more will come.
bool GzipReader::Impl::inflateSome() {
  if (!live || !error.empty()) return false;
  // Output still owed for input already taken is safe to leave for later:
  // inflate cannot reach a member's 8-byte trailer before it has given it all.
  if (z.avail_in == 0 && !readInput()) return false;
  // Whatever follows a member's trailer must be another member.
  if (memberEnded && inflateReset(&z) != Z_OK) return fail("cannot restart decompressing");
  memberEnded = false;
  z.next_out = reinterpret_cast<Bytef*>(output.data());
  z.avail_out = static_cast<uInt>(output.size());
  const int status = inflate(&z, Z_NO_FLUSH);
  if (status == Z_STREAM_END) {
    memberEnded = true;
  } else if (status == Z_MEM_ERROR) {
    return fail("out of memory while decompressing");
  } else if (status != Z_OK && status != Z_BUF_ERROR) {
    return fail(std::string("corrupt gzip data: ") + (z.msg ? z.msg : "cannot inflate"));
  }
  return true;
}

GzipReader::GzipReader(std::istream& compressed) : d(std::make_unique<Impl>(compressed)) {}

GzipReader::~GzipReader() = default;

const std::string& GzipReader::error() const { return d->error; }

GzipReader::int_type GzipReader::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  char* const begin = d->output.data();
  // A call may only read a header or a trailer, producing nothing yet.
  while (d->inflateSome()) {
    const std::size_t produced = d->output.size() - d->z.avail_out;
    if (produced > 0) {
      setg(begin, begin, begin + produced);
      return traits_type::to_int_type(*begin);
    }
  }
  return traits_type::eof();
}

bool startsWithGzipMagic(std::istream& in) {
  const auto start = in.tellg();
  std::array<char, 2> magic{};
  in.read(magic.data(), magic.size());
  const bool gzip = in.gcount() == 2 && magic[0] == '\x1f' && magic[1] == '\x8b';
  in.clear();
  in.seekg(start);
  return gzip;
}

}  // namespace lumadot
