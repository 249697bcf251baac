#include "formats/output_format.h"

#include <array>
#include <utility>
#include <vector>

#include "formats/assembler_source.h"
#include "formats/c_source.h"
#include "formats/intel_hex.h"

namespace lumadot {
namespace {

constexpr std::array<std::pair<std::string_view, OutputFormat>, 8> kFormats{{
    {"listing", OutputFormat::listing},
    {"a51", OutputFormat::a51},
    {"as31", OutputFormat::as31},
    {"sdas", OutputFormat::sdas},
    {"c51", OutputFormat::c51},
    {"sdcc", OutputFormat::sdcc},
    {"bin", OutputFormat::bin},
    {"hex", OutputFormat::hex},
}};

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<std::uint8_t> allBytes(std::span<const GlyphEntry> entries) {
  std::vector<std::uint8_t> bytes;
  for (const auto& entry : entries) bytes.insert(bytes.end(), entry.bytes.begin(), entry.bytes.end());
  return bytes;
}

}  // namespace

std::string_view formatName(OutputFormat format) {
  for (const auto& [name, each] : kFormats) {
    if (each == format) return name;
  }
  return {};
}

std::string_view formatNameList() { return "listing, a51, as31, sdas, c51, sdcc, bin or hex"; }

bool hasLabels(OutputFormat format) {
  return format == OutputFormat::a51 || format == OutputFormat::as31 || format == OutputFormat::sdas ||
         canMakeTable(format);
}

bool canMakeTable(OutputFormat format) { return format == OutputFormat::c51 || format == OutputFormat::sdcc; }

Result<void> checkPrefix(std::string_view prefix) {
  if (prefix.empty()) return Failure("the name is empty");
  if (prefix.size() > kMaxPrefixLength) {
    return Failure("the name is longer than " + std::to_string(kMaxPrefixLength) +
                   " characters; labels must stay within the 31 that 8051 assemblers tell apart");
  }
  if (!isLetter(prefix.front()) && prefix.front() != '_') return Failure("the name must start with a letter or '_'");
  for (const char c : prefix) {
    if (!isLetter(c) && !isDigit(c) && c != '_') return Failure("the name may hold only letters, digits and '_'");
  }
  return {};
}

std::string formatGlyphs(OutputFormat format, std::span<const GlyphEntry> entries, const SourceNames& names,
                         const SourceOptions& source, GlyphSpans* spans) {
  const bool credit = source.credit;
  const auto encoded = [&source](const std::string& text) { return encodedText(text, source.encoding); };
  switch (format) {
    case OutputFormat::a51: return encoded(assemblerSource(entries, names.prefix, kA51, credit, spans));
    case OutputFormat::as31: return encoded(assemblerSource(entries, names.prefix, kAs31, credit, spans));
    case OutputFormat::sdas: return encoded(assemblerSource(entries, names.prefix, kSdas, credit, spans));
    case OutputFormat::c51:
      return encoded(cSource(entries, names.prefix, names.oneTable, kC51CodeKeyword, credit, spans));
    case OutputFormat::sdcc:
      return encoded(cSource(entries, names.prefix, names.oneTable, kSdccCodeKeyword, credit, spans));
    case OutputFormat::bin: {
      const auto bytes = allBytes(entries);
      return {bytes.begin(), bytes.end()};
    }
    case OutputFormat::hex: {
      std::vector<std::size_t> lineStarts;
      std::string hex = intelHex(allBytes(entries), spans ? &lineStarts : nullptr);
      if (spans) *spans = lineSpans(entries, lineStarts, kHexRecordSize);
      return hex;
    }
    case OutputFormat::listing: break;
  }
  return {};
}

}  // namespace lumadot
