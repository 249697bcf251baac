#include "serial/line_settings.h"

#include <array>
#include <limits>
#include <optional>
#include <vector>

#include "extract/text_codec.h"

namespace lumadot {
namespace {

std::vector<std::u16string_view> splitFields(std::u16string_view text) {
  std::vector<std::u16string_view> fields;
  std::size_t start = 0;
  for (std::size_t comma; (comma = text.find(u',', start)) != std::u16string_view::npos; start = comma + 1) {
    fields.push_back(text.substr(start, comma - start));
  }
  fields.push_back(text.substr(start));
  return fields;
}

Failure invalid(CauseKind kind, std::string_view setting, std::u16string_view value, std::string_view allowed) {
  const std::string text = utf16ToUtf8(value);
  return Failure(std::string(setting) + " \"" + text + "\" is not " + std::string(allowed)).because({kind, text});
}

}  // namespace

std::optional<std::int32_t> parseBaud(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  std::int64_t value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  }
  if (value == 0) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<Parity> parseParity(std::u16string_view text) {
  if (text.size() != 1) return std::nullopt;
  switch (text.front()) {
    case u'E': case u'e': return Parity::even;
    case u'M': case u'm': return Parity::mark;
    case u'N': case u'n': return Parity::none;
    case u'O': case u'o': return Parity::odd;
    case u'S': case u's': return Parity::space;
    default: return std::nullopt;
  }
}

std::optional<int> parseDataBits(std::u16string_view text) {
  if (text.size() != 1 || text.front() < u'5' || text.front() > u'8') return std::nullopt;
  return text.front() - u'0';
}

std::optional<StopBits> parseStopBits(std::u16string_view text) {
  if (text == u"1") return StopBits::one;
  if (text == u"1.5") return StopBits::oneAndHalf;
  if (text == u"2") return StopBits::two;
  return std::nullopt;
}

int LineSettings::bitsPerByte() const {
  return 1 + dataBits + (parity == Parity::none ? 0 : 1) + (stopBits == StopBits::one ? 1 : 2);
}

std::u16string settingsText(std::u16string_view baud, std::u16string_view parity, std::u16string_view dataBits,
                            std::u16string_view stopBits) {
  std::u16string text(baud);
  for (const std::u16string_view field : {parity, dataBits, stopBits}) {
    text += u',';
    text += field;
  }
  return text;
}

std::array<std::u16string, 4> settingTexts(const LineSettings& settings) {
  static constexpr std::u16string_view kParities = u"NEOMS";  // in the order of Parity
  static constexpr std::array<std::u16string_view, 3> kStopBits{u"1", u"1.5", u"2"};
  const auto number = [](std::int64_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
  };
  return {number(settings.baud), std::u16string(kParities.substr(static_cast<std::size_t>(settings.parity), 1)),
          number(settings.dataBits), std::u16string(kStopBits[static_cast<std::size_t>(settings.stopBits)])};
}

std::u16string settingsText(const LineSettings& settings) {
  const auto texts = settingTexts(settings);
  return settingsText(texts[0], texts[1], texts[2], texts[3]);
}

Result<LineSettings> parseLineSettings(std::u16string_view text) {
  const auto fields = splitFields(text);
  if (fields.size() != 4) {
    return Failure("the line settings \"" + utf16ToUtf8(text) + "\" have " + std::to_string(fields.size()) +
                   (fields.size() == 1 ? " field" : " fields") +
                   ", not the 4 of baud,parity,data bits,stop bits: no box may hold a comma")
        .because({CauseKind::settingFields, utf16ToUtf8(text), {static_cast<std::int64_t>(fields.size())}});
  }
  const auto baud = parseBaud(fields[0]);
  if (!baud) return invalid(CauseKind::baud, "baud rate", fields[0], "a whole number from 1 to 2147483647");
  const auto parity = parseParity(fields[1]);
  if (!parity) return invalid(CauseKind::parity, "parity", fields[1], "one of E, M, N, O, S");
  const auto dataBits = parseDataBits(fields[2]);
  if (!dataBits) return invalid(CauseKind::dataBits, "data bits", fields[2], "5, 6, 7 or 8");
  const auto stopBits = parseStopBits(fields[3]);
  if (!stopBits) return invalid(CauseKind::stopBits, "stop bits", fields[3], "1, 1.5 or 2");
  return LineSettings{*baud, *parity, *dataBits, *stopBits};
}

}  // namespace lumadot
