#include "serial/send_request.h"

#include "extract/text_codec.h"
#include "frame/display_frame.h"

namespace lumadot {
namespace {

Failure boxWarning(std::string_view boxName, FailureKind kind, std::u16string_view text) {
  return Failure(std::string(boxName) + "“" + utf16ToUtf8(text) + "”无效").as(kind, utf16ToUtf8(text));
}

}  // namespace

Result<SendRequest> sendRequest(const SendBoxes& boxes) {
  // A text that names no port sends nothing: sending to whichever port was
  // chosen before, under the typed name, would mislead.
  const auto port = portChoice(boxes.port);
  if (!port) return portFailure(boxes.port, unknownPort(boxes.port));
  const auto effect = signEffect(boxes.speed, boxes.mode);
  if (!effect) return effect.error();
  auto line = parseLineSettings(settingsText(boxes.baud, boxes.parity, boxes.dataBits, boxes.stopBits));
  if (!line) return portFailure(boxes.port, line.error());
  return SendRequest{*port, boxes.port, *line, effect->speed, effect->mode};
}

SendBoxes sendBoxes(const SendRequest& request) {
  const auto line = settingTexts(request.line);
  const std::string speed = std::to_string(request.speed);
  return {request.portName, line[0], line[1], line[2], line[3], std::u16string(speed.begin(), speed.end()),
          std::u16string(modeName(request.mode).value_or(u""))};
}

Result<SignEffect> signEffect(std::u16string_view speed, std::u16string_view mode) {
  const auto speedValue = speedByte(speed);
  if (!speedValue) return boxWarning("显示速度", FailureKind::speedBox, speed);
  const auto modeValue = modeByte(mode);
  if (!modeValue) return boxWarning("显示方式", FailureKind::modeBox, mode);
  return SignEffect{*speedValue, *modeValue};
}

Failure portFailure(std::u16string_view portName, const Failure& why) {
  return failureOver(utf16ToUtf8(u"串口" + std::u16string(portName) + u"打开失败，可能正在使用中"), FailureKind::sendPort,
                     utf16ToUtf8(portName), why);
}

}  // namespace lumadot
