#include "subset/subset_source.h"

#include <cstdint>
#include <vector>

#include "formats/c_source.h"
#include "formats/source_text.h"

namespace lumadot {
namespace {

constexpr std::size_t kValuesPerLine = 16;

// One of the tables firmware finds a glyph by; a scalar is a table of one in assembler.
struct IndexTable {
  std::string_view suffix;
  bool words = false;  // 16-bit, else bytes
  bool scalar = false;
  bool hex = false;    // C spells codes in hex, counts in decimal
  std::vector<std::uint16_t> values;
};

std::vector<IndexTable> indexTables(const FontSubset& subset) {
  std::vector<std::uint16_t> codes;
  std::vector<std::uint16_t> offsets;
  std::vector<std::uint16_t> widths;
  std::size_t offset = 0;
  for (const SubsetGlyph& glyph : subset.glyphs) {
    codes.push_back(glyph.code);
    offsets.push_back(static_cast<std::uint16_t>(offset));
    widths.push_back(static_cast<std::uint16_t>(glyph.dots.width));
    offset += glyph.bytes.size();
  }
  return {{"count", true, true, false, {static_cast<std::uint16_t>(subset.glyphs.size())}},
          {"height", false, true, false, {static_cast<std::uint16_t>(subset.cell.height)}},
          {"codes", true, false, true, std::move(codes)},
          {"offsets", true, false, false, std::move(offsets)},
          {"widths", false, false, false, std::move(widths)}};
}

std::string name(std::string_view prefix, std::string_view suffix) {
  return std::string(prefix) + '_' + std::string(suffix);
}

GlyphEntry entryOf(const SubsetGlyph& glyph) { return {glyph.character, glyph.code > 0xFF, glyph.bytes, glyph.dots}; }

void appendComment(std::string& out, std::string_view marker, std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    out += marker;
    out += ' ';
    out += text.substr(pos, end - pos);
    out += kSourceLineBreak;
    pos = end + 1;
  }
}

std::string opening(const FontSubset& subset, std::string_view prefix) {
  const std::string p(prefix);
  const std::size_t count = subset.glyphs.size();
  return "Font subset: " + std::to_string(count) + (count == 1 ? " glyph, " : " glyphs, ") + std::to_string(subset.cell.height) +
         " dots high, in ascending code order\n(the byte of a single-byte character, lead byte * 256 + trail byte of "
         "a double-byte one).\nGlyph k is " + p + "_widths[k] dots wide; its bytes start at " + p + "_bytes[" + p +
         "_offsets[k]].";
}

// ---- C ----

std::string cType(const IndexTable& table) { return table.words ? "unsigned int" : "unsigned char"; }

std::string cDeclarator(const IndexTable& table, std::string_view prefix, std::string_view keyword) {
  std::string text = cType(table) + ' ' + std::string(keyword) + ' ' + name(prefix, table.suffix);
  if (!table.scalar) text += '[' + std::to_string(table.values.size()) + ']';
  return text;
}

void appendCValue(std::string& out, const IndexTable& table, std::uint16_t value) {
  if (table.hex) {
    appendPrefixHexWord(out, value);
  } else {
    out += std::to_string(value);
  }
}

void appendCTable(std::string& out, const IndexTable& table, std::string_view prefix, std::string_view keyword) {
  out += cDeclarator(table, prefix, keyword);
  if (table.scalar) {
    out += " = ";
    appendCValue(out, table, table.values.front());
    out += ';';
    out += kSourceLineBreak;
    return;
  }
  out += " = {";
  out += kSourceLineBreak;
  for (std::size_t i = 0; i < table.values.size(); ++i) {
    if (i % kValuesPerLine == 0) out += "    ";
    appendCValue(out, table, table.values[i]);
    if (i + 1 < table.values.size()) out += ',';
    if (i + 1 == table.values.size() || i % kValuesPerLine == kValuesPerLine - 1) out += kSourceLineBreak;
  }
  out += "};";
  out += kSourceLineBreak;
}

// No name here may be "code": it is a keyword of C51 compilers.
constexpr std::string_view kFindBody =
    "{\r\n"
    "    int low = 0;\r\n"
    "    int high = (int)PREFIX_count - 1;\r\n"
    "    while (low <= high) {\r\n"
    "        int middle = (low + high) / 2;\r\n"
    "        unsigned int at = PREFIX_codes[middle];\r\n"
    "        if (at == ch) return middle;\r\n"
    "        if (at < ch) {\r\n"
    "            low = middle + 1;\r\n"
    "        } else {\r\n"
    "            high = middle - 1;\r\n"
    "        }\r\n"
    "    }\r\n"
    "    return -1;\r\n"
    "}\r\n";

std::string findSignature(std::string_view prefix) { return "int " + name(prefix, "find") + "(unsigned int ch)"; }

std::string findFunction(std::string_view prefix) {
  std::string body(kFindBody);
  const std::string placeholder = "PREFIX";
  for (std::size_t at = 0; (at = body.find(placeholder, at)) != std::string::npos; at += prefix.size()) {
    body.replace(at, placeholder.size(), prefix);
  }
  return "// The index of the glyph of `ch`, or -1 when the subset has none: a binary search.\r\n" +
         findSignature(prefix) + "\r\n" + body;
}

std::string cSubset(const FontSubset& subset, std::string_view prefix, std::string_view keyword, bool credit) {
  std::string out;
  out.reserve(subset.byteCount() * 5 + subset.glyphs.size() * 80 + 1024);
  appendComment(out, "//", opening(subset, prefix));
  out += kSourceLineBreak;
  for (const IndexTable& table : indexTables(subset)) appendCTable(out, table, prefix, keyword);
  out += kSourceLineBreak;
  out += "unsigned char " + std::string(keyword) + ' ' + name(prefix, "bytes") + '[' +
         std::to_string(subset.byteCount()) + "] = {";
  out += kSourceLineBreak;
  for (std::size_t k = 0; k < subset.glyphs.size(); ++k) {
    appendHeaderComment(out, entryOf(subset.glyphs[k]));
    appendArrayLines(out, subset.glyphs[k].bytes, k + 1 < subset.glyphs.size());
  }
  out += "};";
  out += kSourceLineBreak;
  out += kSourceLineBreak;
  out += findFunction(prefix);
  if (credit) appendCredits(out, "//");
  return out;
}

std::string cHeader(const FontSubset& subset, std::string_view prefix, std::string_view keyword) {
  const std::string guard = name(prefix, "FONT_SUBSET_H");
  std::string out;
  appendComment(out, "//", opening(subset, prefix));
  out += "#ifndef " + guard + "\r\n#define " + guard + "\r\n\r\n";
  for (const IndexTable& table : indexTables(subset)) out += "extern " + cDeclarator(table, prefix, keyword) + ";\r\n";
  out += "extern unsigned char " + std::string(keyword) + ' ' + name(prefix, "bytes") + '[' +
         std::to_string(subset.byteCount()) + "];\r\n";
  out += findSignature(prefix) + ";\r\n\r\n#endif\r\n";
  return out;
}

// ---- assembler ----

void appendAsmTable(std::string& out, const IndexTable& table, std::string_view prefix,
                    const AssemblerDialect& dialect) {
  out += name(prefix, table.suffix);
  out += dialect.labelEnd;
  out += kSourceLineBreak;
  for (std::size_t i = 0; i < table.values.size(); ++i) {
    if (i % kValuesPerLine == 0) {
      out += "        ";
      out += table.words ? dialect.wordDirective : dialect.directive;
      out += ' ';
    } else {
      out += ',';
    }
    if (table.words) {
      dialect.spellWord(out, table.values[i]);
    } else {
      dialect.spell(out, static_cast<std::uint8_t>(table.values[i]));
    }
    if (i + 1 == table.values.size() || i % kValuesPerLine == kValuesPerLine - 1) out += kSourceLineBreak;
  }
}

std::string asmSubset(const FontSubset& subset, std::string_view prefix, const AssemblerDialect& dialect,
                      bool credit) {
  std::string out;
  out.reserve(subset.byteCount() * 5 + subset.glyphs.size() * 80 + 1024);
  appendComment(out, ";",
                opening(subset, prefix) + "\n" + std::string(dialect.wordDirective) +
                    " stores each word high byte first.");
  if (!dialect.preamble.empty()) {
    out += dialect.preamble;
    out += kSourceLineBreak;
  }
  for (const IndexTable& table : indexTables(subset)) appendAsmTable(out, table, prefix, dialect);
  out += name(prefix, "bytes");
  out += dialect.labelEnd;
  out += kSourceLineBreak;
  for (const SubsetGlyph& glyph : subset.glyphs) {
    out += ';';
    out += entryHeaderComment(entryOf(glyph));
    out += kSourceLineBreak;
    appendDataLines(out, glyph.bytes, dialect);
  }
  if (credit) appendCredits(out, ";");
  return out;
}

}  // namespace

bool canWriteSubset(OutputFormat format) { return hasLabels(format); }

std::string subsetSource(OutputFormat format, const FontSubset& subset, std::string_view prefix,
                         const SourceOptions& source) {
  const bool credit = source.credit;
  switch (format) {
    case OutputFormat::a51: return encodedText(asmSubset(subset, prefix, kA51, credit), source.encoding);
    case OutputFormat::as31: return encodedText(asmSubset(subset, prefix, kAs31, credit), source.encoding);
    case OutputFormat::sdas: return encodedText(asmSubset(subset, prefix, kSdas, credit), source.encoding);
    case OutputFormat::c51: return encodedText(cSubset(subset, prefix, kC51CodeKeyword, credit), source.encoding);
    case OutputFormat::sdcc: return encodedText(cSubset(subset, prefix, kSdccCodeKeyword, credit), source.encoding);
    default: return {};
  }
}

std::string subsetHeader(OutputFormat format, const FontSubset& subset, std::string_view prefix) {
  return cHeader(subset, prefix, format == OutputFormat::c51 ? kC51CodeKeyword : kSdccCodeKeyword);
}

}  // namespace lumadot
