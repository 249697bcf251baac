#include "sign/listen_request.h"

#include "extract/text_codec.h"
#include "serial/port_names.h"

namespace lumadot {

Result<ListenRequest> listenRequest(const ListenBoxes& boxes) {
  const auto port = portChoice(boxes.port);
  if (!port) {
    return Failure("串口“" + utf16ToUtf8(boxes.port) + "”无效", unknownPortReason(boxes.port));
  }
  const std::u16string text = settingsText(boxes.baud, boxes.parity, boxes.dataBits, boxes.stopBits);
  auto settings = parseLineSettings(text);
  if (!settings) return Failure("串口设置“" + utf16ToUtf8(text) + "”无效", settings.error().text);
  return ListenRequest{*port, *settings};
}

Failure openFailure(std::u16string_view port, const Failure& cause) {
  return Failure(utf16ToUtf8(u"串口" + std::u16string(port) + u"打开失败"), cause.text);
}

Failure lostFailure(std::u16string_view port, const Failure& cause) {
  return Failure(utf16ToUtf8(u"串口" + std::u16string(port) + u"已断开，停止接收"), cause.text);
}

}  // namespace lumadot
