// Each output format over any glyph bytes, any text beside them (longer,
// shorter or other than the one the bytes came from) and any label prefix.

#include <algorithm>
#include <memory>
#include <string>

#include "extract/glyph_entries.h"
#include "formats/output_format.h"
#include "fuzz/fuzz_input.h"
#include "support/intel_hex_reader.h"

namespace lumadot::fuzz {
namespace {

constexpr OutputFormat kFormats[] = {OutputFormat::a51, OutputFormat::as31, OutputFormat::sdas,
                                     OutputFormat::c51, OutputFormat::sdcc, OutputFormat::bin, OutputFormat::hex};

std::string joinedBytes(const std::vector<GlyphEntry>& entries) {
  std::string bytes;
  for (const GlyphEntry& entry : entries) bytes.append(entry.bytes.begin(), entry.bytes.end());
  return bytes;
}

// Source text is lines that each end in CR LF: a character of the text must
// never break a comment line and spill into code.
void checkLines(const std::string& source) {
  for (std::size_t at = source.find('\n'); at != std::string::npos; at = source.find('\n', at + 1)) {
    FUZZ_EXPECT(at > 0 && source[at - 1] == '\r');
  }
  for (std::size_t at = source.find('\r'); at != std::string::npos; at = source.find('\r', at + 1)) {
    FUZZ_EXPECT(source.compare(at, 2, "\r\n") == 0);
  }
}

}  // namespace

void fuzzInput(FuzzedDataProvider& in) {
  const OutputFormat format = in.PickValueInArray(kFormats);
  SourceNames names;
  names.oneTable = canMakeTable(format) && in.ConsumeBool();
  if (std::string prefix = in.ConsumeRandomLengthString(32); checkPrefix(prefix)) names.prefix = prefix;
  const Glyphs glyphs = fuzzedGlyphs(in);
  const auto entries = glyphEntries(glyphs);
  const std::string bytes = joinedBytes(entries);
  SourceOptions source;
  source.credit = in.ConsumeBool();
  source.encoding = in.PickValueInArray(kSourceEncodings);

  // GBK's bytes are never a CR or a LF, so a comment stays on its line in it too.
  const std::string out = formatGlyphs(format, entries, names, source);
  if (format == OutputFormat::bin) {
    FUZZ_EXPECT(out == bytes);
  } else if (format == OutputFormat::hex) {
    const test::HexImage image = test::readIntelHex(out);
    FUZZ_EXPECT(image.error.empty());
    FUZZ_EXPECT(image.bytes.size() == bytes.size());
    const auto read = image.at(0, bytes.size());
    FUZZ_EXPECT(read && std::equal(read->begin(), read->end(), bytes.begin(), bytes.end(),
                                   [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }));
  } else {
    checkLines(out);
  }
}

}  // namespace lumadot::fuzz
