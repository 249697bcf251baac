// The Unifont reader over any file, plain or through the gzip
// reader, and the fonts it builds from whatever it reads. The first byte
// chooses: a plain .hex, any bytes as gzip data, or the rest compressed here,
// which must read back as it was.

#include <zlib.h>

#include <istream>
#include <iterator>
#include <sstream>
#include <string>

#include "extract/font_layout.h"
#include "fuzz/fuzz_input.h"
#include "mkfont/font_builder.h"
#include "fonts/gzip_reader.h"
#include "fonts/unifont_hex.h"

namespace lumadot::fuzz {
namespace {

std::string gzipped(const std::string& plain) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) std::abort();
  std::string out(deflateBound(&stream, plain.size()), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
  stream.avail_in = static_cast<uInt>(plain.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  FUZZ_EXPECT(deflate(&stream, Z_FINISH) == Z_STREAM_END);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

void checkFonts(const UnifontGlyphs& glyphs) {
  const BuiltFonts fonts = buildFonts([&](char32_t c) { return findSourceGlyph(glyphs, c); }, kUnifontBaseline);
  const BuiltFont& asc16 = fonts.asc16;
  const BuiltFont& hzk16 = fonts.hzk16;
  FUZZ_EXPECT(fonts.baseline == kUnifontBaseline && hzk16.clipped == 0);
  FUZZ_EXPECT(asc16.bytes.size() == kAsc16Size && hzk16.bytes.size() == kHzk16Size);
  FUZZ_EXPECT(asc16.found <= asc16.wanted && hzk16.found <= hzk16.wanted);
  FUZZ_EXPECT(asc16.found + hzk16.found <= glyphs.size());
}

}  // namespace

void fuzzInput(FuzzedDataProvider& in) {
  const std::string input = in.ConsumeRemainingBytesAsString();
  if (input.empty()) return;
  const int mode = static_cast<std::uint8_t>(input[0]) % 3;
  const std::string rest = input.substr(1);
  std::istringstream file(mode == 2 ? gzipped(rest) : rest);

  if (mode == 0) {
    const auto glyphs = parseUnifontHex(file, "fuzz.hex");
    if (glyphs) checkFonts(*glyphs);
    FUZZ_EXPECT(glyphs || !glyphs.error().text.empty());
    return;
  }
  FUZZ_EXPECT(startsWithGzipMagic(file) == (mode == 2 || rest.starts_with("\x1f\x8b")));
  GzipReader reader(file);
  std::istream unpacked(&reader);
  const std::string read(std::istreambuf_iterator<char>(unpacked), {});
  if (mode == 2) FUZZ_EXPECT(reader.error().empty() && read == rest);
}

}  // namespace lumadot::fuzz
