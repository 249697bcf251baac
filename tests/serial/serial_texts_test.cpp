#include <gtest/gtest.h>

#include <tuple>

#include "extract/text_codec.h"
#include "serial/line_settings.h"
#include "serial/port_names.h"
#include "serial/sending.h"

namespace lumadot {
namespace {

TEST(AmountText, IsKilobytesCutToFourCharacters) {
  const std::pair<std::int32_t, std::u16string_view> table[] = {
      {0, u"0"},      {16, u"0.01"},  {32, u"0.03"},   {48, u"0.04"},    {64, u"0.06"},  {128, u"0.12"},
      {512, u"0.5"},  {1024, u"1"},   {1040, u"1.01"}, {1536, u"1.5"},   {10752, u"10.5"}, {65536, u"64"},
      {1, u"0.00"},   {65520, u"63.9"}};
  for (const auto& [bytes, amount] : table) EXPECT_EQ(amountText(bytes, u"."), amount) << bytes;
  EXPECT_EQ(amountText(48, u","), u"0,04");
  EXPECT_EQ(amountText(1536, u"٫"), u"1٫5");
}

TEST(PortNames, OnlyTheSixteenNamesAsWritten) {
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(portNumber(portName(n)), std::optional<int>(n));
  EXPECT_EQ(portName(10), u"com10");
  for (const std::u16string_view text : {u"COM1", u" com1", u"com1 ", u"com01", u"com17", u"com0", u"", u"/dev/ttyS0"}) {
    EXPECT_EQ(portNumber(text), std::nullopt) << utf16ToUtf8(text);
  }
}

// An option takes the prefix in any case; the rest of the name stays as strict as the box.
TEST(PortNames, AnOptionTakesComInAnyCase) {
  const std::pair<std::u16string_view, std::optional<int>> rows[] = {
      {u"COM1", 1},          {u"Com16", 16},         {u"cOm3", 3},          {u"com7", 7},
      {u"COM17", std::nullopt}, {u"COM01", std::nullopt}, {u" COM1", std::nullopt}, {u"COM1 ", std::nullopt},
      {u"CO", std::nullopt},  {u"ＣOM1", std::nullopt}, {u"/dev/ttyS0", std::nullopt}, {u"", std::nullopt},
  };
  for (const auto& [text, number] : rows) EXPECT_EQ(portNumberAnyCase(text), number) << utf16ToUtf8(text);
}

// Besides the sixteen names, a device as the system spells it; anything else names no port.
TEST(PortNames, ADeviceByItsPath) {
  using Choice = std::optional<PortChoice>;
  const std::tuple<std::u16string_view, Choice, Choice> rows[] = {
      // text, as Linux takes it, as Windows takes it
      {u"com3", PortChoice{3, {}}, PortChoice{3, {}}},
      {u"/dev/ttyUSB0", PortChoice{0, "/dev/ttyUSB0"}, std::nullopt},
      {u"/dev/serial/by-id/usb-中", PortChoice{0, "/dev/serial/by-id/usb-中"}, std::nullopt},
      {u"COM7", std::nullopt, PortChoice{0, "COM7"}},
      {u"\\\\.\\COM17", std::nullopt, PortChoice{0, "\\\\.\\COM17"}},
      {u"COM", std::nullopt, std::nullopt},
      {u"COM1x", std::nullopt, std::nullopt},
      {u"ttyUSB0", std::nullopt, std::nullopt},
      {u"./ttyUSB0", std::nullopt, std::nullopt},
      {u"/", std::nullopt, std::nullopt},
      {u"", std::nullopt, std::nullopt},
  };
  for (const auto& [text, posix, windows] : rows) {
    EXPECT_EQ(portChoice(text, PortPaths::posix), posix) << utf16ToUtf8(text);
    EXPECT_EQ(portChoice(text, PortPaths::windows), windows) << utf16ToUtf8(text);
  }
  EXPECT_NE(unknownPort(u"x", PortPaths::windows).text.find("(COM17, \\\\.\\COM17)"), std::string::npos);
  EXPECT_NE(unknownPort(u"x", PortPaths::posix).text.find("(/dev/ttyUSB0)"), std::string::npos);
  EXPECT_EQ(portLabel({0, "/dev/ttyUSB0"}, "ignored"), "/dev/ttyUSB0");
  EXPECT_EQ(portLabel({2, {}}, "/dev/pts/4"), "com2 (/dev/pts/4)");
  EXPECT_EQ(portLabel({2, {}}), "com2");
}

TEST(LineSettings, ParsesTheJoinedBoxTexts) {
  EXPECT_EQ(settingsText(u"9600", u"E", u"8", u"1"), u"9600,E,8,1");
  EXPECT_EQ(settingsText(u"", u" N", u"", u""), u", N,,");

  struct Row {
    std::u16string_view text;
    std::optional<LineSettings> settings;
    std::string_view reason;  // when refused: the first setting that is wrong
  };
  const Row rows[] = {
      {u"9600,E,8,1", LineSettings{9600, Parity::even, 8, StopBits::one}, ""},
      {u"115200,N,8,2", LineSettings{115200, Parity::none, 8, StopBits::two}, ""},
      {u"110,O,7,1.5", LineSettings{110, Parity::odd, 7, StopBits::oneAndHalf}, ""},
      {u"12800,M,5,1", LineSettings{12800, Parity::mark, 5, StopBits::one}, ""},
      {u"25600,s,6,2", LineSettings{25600, Parity::space, 6, StopBits::two}, ""},
      {u"009600,e,8,1", LineSettings{9600, Parity::even, 8, StopBits::one}, ""},
      {u"2147483647,N,8,1", LineSettings{2147483647, Parity::none, 8, StopBits::one}, ""},
      // in the list, but no UART sends 4-bit characters
      {u"9600,E,4,1", std::nullopt, R"(data bits "4" is not 5, 6, 7 or 8)"},
      {u"9600,E,9,1", std::nullopt, R"(data bits "9" is not 5, 6, 7 or 8)"},
      {u"9600,E,8,3", std::nullopt, R"(stop bits "3" is not 1, 1.5 or 2)"},
      {u"9600,X,8,1", std::nullopt, R"(parity "X" is not one of E, M, N, O, S)"},
      {u"9600,EN,8,1", std::nullopt, R"(parity "EN" is not one of E, M, N, O, S)"},
      {u"0,E,8,1", std::nullopt, R"(baud rate "0" is not a whole number from 1 to 2147483647)"},
      {u"-9600,E,8,1", std::nullopt, R"(baud rate "-9600" is not a whole number from 1 to 2147483647)"},
      {u"9600.5,E,8,1", std::nullopt, R"(baud rate "9600.5" is not a whole number from 1 to 2147483647)"},
      {u" 9600,E,8,1", std::nullopt, R"(baud rate " 9600" is not a whole number from 1 to 2147483647)"},
      {u"2147483648,N,8,1", std::nullopt, R"(baud rate "2147483648" is not a whole number from 1 to 2147483647)"},
      {u"99999999999999999999,N,8,1", std::nullopt,
       R"(baud rate "99999999999999999999" is not a whole number from 1 to 2147483647)"},
      {u"fast,X,9,3", std::nullopt, R"(baud rate "fast" is not a whole number from 1 to 2147483647)"},
      {u"9600,E,8", std::nullopt,
       R"(the line settings "9600,E,8" have 3 fields, not the 4 of baud,parity,data bits,stop bits: no box may hold a comma)"},
      {u"9600,E,8,1,", std::nullopt,
       R"(the line settings "9600,E,8,1," have 5 fields, not the 4 of baud,parity,data bits,stop bits: no box may hold a comma)"},
      {u",,,", std::nullopt, R"(baud rate "" is not a whole number from 1 to 2147483647)"},
      {u"", std::nullopt,
       R"(the line settings "" have 1 field, not the 4 of baud,parity,data bits,stop bits: no box may hold a comma)"},
  };
  for (const Row& row : rows) {
    const auto parsed = parseLineSettings(row.text);
    if (row.settings) {
      EXPECT_EQ(parsed.has_value() ? std::optional(*parsed) : std::nullopt, row.settings) << utf16ToUtf8(row.text);
      // Written back as the boxes would hold them, the settings read the same.
      const auto again = parseLineSettings(settingsText(*row.settings));
      EXPECT_TRUE(again && *again == *row.settings) << utf16ToUtf8(settingsText(*row.settings));
    } else {
      EXPECT_EQ(parsed.has_value() ? "" : parsed.error().text, row.reason) << utf16ToUtf8(row.text);
    }
  }
}

TEST(LineSettings, BitsPerByteCountStartParityAndStop) {
  EXPECT_EQ((LineSettings{9600, Parity::even, 8, StopBits::one}.bitsPerByte()), 11);
  EXPECT_EQ((LineSettings{9600, Parity::none, 5, StopBits::oneAndHalf}.bitsPerByte()), 8);
  EXPECT_EQ((LineSettings{9600, Parity::mark, 7, StopBits::two}.bitsPerByte()), 11);
}

}  // namespace
}  // namespace lumadot
