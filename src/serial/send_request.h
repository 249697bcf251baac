#pragma once

// What a send asks for, typed once where it enters: the window's seven
// parameter boxes are read by sendRequest, by the window's own rules; the
// command line fills a SendRequest from its options directly.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/result.h"
#include "serial/line_settings.h"
#include "serial/port_names.h"

namespace lumadot {

// The seven parameter boxes as typed; the defaults are their start texts.
struct SendBoxes {
  std::u16string port = u"com1";
  std::u16string baud = u"9600";
  std::u16string parity = u"E";
  std::u16string dataBits = u"8";
  std::u16string stopBits = u"1";
  std::u16string speed = u"5";
  std::u16string mode = u"静止";

  friend bool operator==(const SendBoxes&, const SendBoxes&) = default;
};

struct SendRequest {
  PortChoice port{1, {}};
  std::u16string portName = u"com1";  // as the user gave it, for the messages
  LineSettings line;
  std::uint8_t speed = 5;
  std::uint8_t mode = 0;

  friend bool operator==(const SendRequest&, const SendRequest&) = default;
};

// The speed and mode bytes, for a frame that is shown and not sent.
struct SignEffect {
  std::uint8_t speed = 5;
  std::uint8_t mode = 0;
};

// The speed box, then the mode box, by sendRequest's rules and in its words.
Result<SignEffect> signEffect(std::u16string_view speed, std::u16string_view mode);

// The boxes read in the order the window checks them: the port, the speed,
// the mode, the line settings. The first that is wrong fails, in the
// window's words: a speed or mode the sign has no byte for would shift the
// frame, so neither is sent as typed.
Result<SendRequest> sendRequest(const SendBoxes& boxes);

// The boxes as they would read to make `request`: the port as it was named.
SendBoxes sendBoxes(const SendRequest& request);

// The warning for a port that cannot be used, `why` beneath it.
Failure portFailure(std::u16string_view portName, const Failure& why);

}  // namespace lumadot
