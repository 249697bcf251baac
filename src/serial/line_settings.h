#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/result.h"

namespace lumadot {

enum class Parity { none, even, odd, mark, space };
enum class StopBits { one, oneAndHalf, two };

struct LineSettings {
  std::int32_t baud = 9600;
  Parity parity = Parity::even;
  int dataBits = 8;
  StopBits stopBits = StopBits::one;

  // Bits on the line per byte, counting 1.5 stop bits as 2: what a byte
  // costs at worst, for time bounds.
  int bitsPerByte() const;

  friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// The four boxes joined as the settings text "baud,parity,data bits,stop bits",
// nothing trimmed or added.
std::u16string settingsText(std::u16string_view baud, std::u16string_view parity, std::u16string_view dataBits,
                            std::u16string_view stopBits);

// Each setting alone, by the rules below; nothing for a value they refuse.
std::optional<std::int32_t> parseBaud(std::u16string_view text);
std::optional<Parity> parseParity(std::u16string_view text);
std::optional<int> parseDataBits(std::u16string_view text);
std::optional<StopBits> parseStopBits(std::u16string_view text);

// The settings as the four boxes would show them: "9600", "E", "8", "1".
std::array<std::u16string, 4> settingTexts(const LineSettings& settings);
// The same joined: "9600,E,8,1".
std::u16string settingsText(const LineSettings& settings);

// Baud a positive decimal number, parity one of E M N O S (either case),
// data bits 5 to 8, stop bits 1, 1.5 or 2. Anything else is refused, the
// failure naming the first setting that is wrong and its value.
Result<LineSettings> parseLineSettings(std::u16string_view text);

}  // namespace lumadot
