#include "formats/intel_hex.h"

#include <cassert>
#include <cstdio>

#include "extract/glyph_buffer.h"
#include "formats/source_text.h"

namespace lumadot {
namespace {

// Appends a record from its fields, with the checksum that makes them add up to 0.
void appendRecord(std::string& out, std::uint16_t address, std::uint8_t type, std::span<const std::uint8_t> data) {
  std::uint8_t sum = 0;
  auto put = [&](std::uint8_t value) {
    appendTwoHexDigits(out, value);
    sum = static_cast<std::uint8_t>(sum + value);
  };
  out.push_back(':');
  put(static_cast<std::uint8_t>(data.size()));
  put(static_cast<std::uint8_t>(address >> 8));
  put(static_cast<std::uint8_t>(address & 0xFFu));
  put(type);
  for (const std::uint8_t value : data) put(value);
  put(static_cast<std::uint8_t>(-sum));
  out += kSourceLineBreak;
}

}  // namespace

std::string intelHex(std::span<const std::uint8_t> bytes, std::vector<std::size_t>* lineStarts) {
  assert(bytes.size() <= static_cast<std::size_t>(GlyphBuffer::kCapacity));
  std::string out;
  out.reserve(bytes.size() / kHexRecordSize * 45 + 16);
  for (std::size_t first = 0; first < bytes.size(); first += kHexRecordSize) {
    if (lineStarts) lineStarts->push_back(out.size());
    const auto data = bytes.subspan(first, std::min(kHexRecordSize, bytes.size() - first));
    appendRecord(out, static_cast<std::uint16_t>(first), 0x00, data);
  }
  if (lineStarts) lineStarts->push_back(out.size());
  appendRecord(out, 0, 0x01, {});
  return out;
}

std::string hexView(std::span<const std::uint8_t> bytes, std::vector<std::size_t>* lineStarts) {
  std::string view;
  view.reserve(bytes.size() / kHexViewLine * 60 + 60);
  char offset[24];
  for (std::size_t line = 0; line < bytes.size(); line += kHexViewLine) {
    if (lineStarts) lineStarts->push_back(view.size());
    std::snprintf(offset, sizeof offset, "%08zX ", line);
    view += offset;
    for (std::size_t i = line; i < std::min(bytes.size(), line + kHexViewLine); ++i) {
      view += ' ';
      appendTwoHexDigits(view, bytes[i]);
    }
    view += kSourceLineBreak;
  }
  if (lineStarts) lineStarts->push_back(view.size());
  return view;
}

}  // namespace lumadot
