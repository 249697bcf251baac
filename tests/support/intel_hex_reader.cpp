#include "support/intel_hex_reader.h"

namespace lumadot::test {
namespace {

std::optional<std::uint8_t> hexByte(std::string_view text, std::size_t pos) {
  if (pos + 2 > text.size()) return std::nullopt;
  unsigned value = 0;
  for (std::size_t i = pos; i < pos + 2; ++i) {
    const char c = text[i];
    value <<= 4;
    if (c >= '0' && c <= '9') value |= static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F') value |= static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f') value |= static_cast<unsigned>(c - 'a' + 10);
    else return std::nullopt;
  }
  return static_cast<std::uint8_t>(value);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> HexImage::at(std::uint32_t address, std::size_t count) const {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < count; ++i) {
    const auto it = bytes.find(static_cast<std::uint32_t>(address + i));
    if (it == bytes.end()) return std::nullopt;
    out.push_back(it->second);
  }
  return out;
}

HexImage readIntelHex(std::string_view text) {
  HexImage image;
  std::uint32_t base = 0;
  bool ended = false;
  std::size_t lineNumber = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (ended) return image.error = where + "record after the end record", image;
    if (line.front() != ':' || line.size() < 11 || line.size() % 2 == 0) {
      return image.error = where + "not a record", image;
    }
    std::vector<std::uint8_t> fields;
    for (std::size_t i = 1; i < line.size(); i += 2) {
      const auto value = hexByte(line, i);
      if (!value) return image.error = where + "not hexadecimal", image;
      fields.push_back(*value);
    }
    const std::size_t length = fields[0];
    if (fields.size() != length + 5) return image.error = where + "length does not match", image;
    std::uint8_t sum = 0;
    for (const auto value : fields) sum = static_cast<std::uint8_t>(sum + value);
    if (sum != 0) return image.error = where + "bad checksum", image;
    const std::uint32_t address = static_cast<std::uint32_t>(fields[1] << 8 | fields[2]);
    switch (fields[3]) {
      case 0x00:
        for (std::size_t i = 0; i < length; ++i) {
          const auto at = static_cast<std::uint32_t>(base + address + i);
          if (!image.bytes.emplace(at, fields[4 + i]).second) return image.error = where + "address filled twice", image;
        }
        break;
      case 0x01: ended = true; break;
      case 0x02:
      case 0x04:
        if (length != 2) return image.error = where + "address record of the wrong length", image;
        base = fields[3] == 0x02 ? static_cast<std::uint32_t>((fields[4] << 8 | fields[5]) << 4)
                                 : static_cast<std::uint32_t>((fields[4] << 8 | fields[5]) << 16);
        break;
      case 0x03:
      case 0x05: break;  // start addresses
      default: return image.error = where + "unknown record type", image;
    }
  }
  if (!ended) image.error = "no end record";
  return image;
}

}  // namespace lumadot::test
