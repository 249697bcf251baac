#include "sign/listen_request.h"

#include "extract/text_codec.h"
#include "serial/port_names.h"

namespace lumadot {

Result<ListenRequest> listenRequest(const ListenBoxes& boxes) {
  const std::string portText = utf16ToUtf8(boxes.port);
  const auto port = portChoice(boxes.port);
  if (!port) return failureOver("串口“" + portText + "”无效", FailureKind::portName, portText, unknownPort(boxes.port));
  const std::u16string text = settingsText(boxes.baud, boxes.parity, boxes.dataBits, boxes.stopBits);
  auto settings = parseLineSettings(text);
  if (!settings) {
    return failureOver("串口设置“" + utf16ToUtf8(text) + "”无效", FailureKind::lineSettings, utf16ToUtf8(text),
                       settings.error());
  }
  return ListenRequest{*port, *settings};
}

Failure openFailure(std::u16string_view port, const Failure& cause) {
  return failureOver(utf16ToUtf8(u"串口" + std::u16string(port) + u"打开失败"), FailureKind::listenPort,
                     utf16ToUtf8(port), cause);
}

Failure lostFailure(std::u16string_view port, const Failure& cause) {
  return failureOver(utf16ToUtf8(u"串口" + std::u16string(port) + u"已断开，停止接收"), FailureKind::portLost,
                     utf16ToUtf8(port), cause);
}

}  // namespace lumadot
