#pragma once

// What the sign window's boxes ask to listen on, and the words it uses when
// listening fails. Qt-free: the window reads its boxes into ListenBoxes.

#include <string>

#include "base/result.h"
#include "serial/line_settings.h"
#include "serial/port_names.h"

namespace lumadot {

struct ListenBoxes {
  std::u16string port;  // as typed: "com1"
  std::u16string baud;
  std::u16string parity;
  std::u16string dataBits;
  std::u16string stopBits;
};

struct ListenRequest {
  PortChoice port{1, {}};
  LineSettings settings;
};

// A port text that names no port, or settings that do not parse, are refused
// before any port is touched.
Result<ListenRequest> listenRequest(const ListenBoxes& boxes);

// The receiver's failure beneath a headline naming the port as the box has it.
Failure openFailure(std::u16string_view port, const Failure& cause);
Failure lostFailure(std::u16string_view port, const Failure& cause);

}  // namespace lumadot
