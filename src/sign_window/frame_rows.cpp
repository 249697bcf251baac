#include "sign_window/frame_rows.h"

#include "frame/display_frame.h"
#include "frame/frame_decoder.h"

namespace lumadot {
namespace {

// The mode box's names, as modeName() gives them, for lupdate to find; translated where they are shown.
[[maybe_unused]] constexpr const char* kModeNames[] = {
    QT_TRANSLATE_NOOP("FrameRows", "静止"), QT_TRANSLATE_NOOP("FrameRows", "左移"),
    QT_TRANSLATE_NOOP("FrameRows", "右移"), QT_TRANSLATE_NOOP("FrameRows", "上移"),
    QT_TRANSLATE_NOOP("FrameRows", "下移"), QT_TRANSLATE_NOOP("FrameRows", "闪烁")};

}  // namespace

QStringList FrameRows::of(const ReceivedFrame& frame, int number) {
  QStringList rows{summary(frame, number)};
  for (const FrameWarning& each : frame.warnings) rows << tr("  警告：%1").arg(warning(each));
  return rows;
}

QString FrameRows::summary(const ReceivedFrame& frame, int number) {
  if (!frame.complete()) {
    return tr("第 %1 帧：不完整，收到 %2 / %3 字节").arg(number).arg(frame.bytes.size()).arg(frame.expected);
  }
  const std::uint8_t mode = frame.mode().value_or(0);
  return tr("第 %1 帧：宽度 %2，速度 %3，模式 %4（%5），%6 个显示字节")
      .arg(number)
      .arg(frame.width())
      .arg(frame.speed().value_or(0))
      .arg(mode)
      .arg(modeName(mode))
      .arg(frame.display().size());
}

QString FrameRows::warning(const FrameWarning& warning) {
  switch (warning.field) {
    case FrameWarning::Field::width:
      return tr("宽度 %1，小于 %2，没有显示字节").arg(warning.found).arg(kNarrowestFrame);
    case FrameWarning::Field::speed:
      return tr("速度 %1，不在 %2 到 %3 之间").arg(warning.found).arg(kSlowestSpeed).arg(kFastestSpeed);
    case FrameWarning::Field::mode:
      return tr("模式 %1，不在 0 到 %2 之间，按静止显示").arg(warning.found).arg(kLastMode);
    case FrameWarning::Field::leadIn: {
      const QString hex = QStringLiteral("%1").arg(warning.leadInByte, 2, 16, QLatin1Char('0')).toUpper();
      const QString byte = QStringLiteral("0x") + hex;
      const QString text = tr("引导段第 %1 字节为 %2，不是零").arg(warning.found).arg(byte);
      return warning.moreLeadIn == 0 ? text : text + tr("，另有 %1 个也不是").arg(warning.moreLeadIn);
    }
    case FrameWarning::Field::tail:
      return tr("结尾只有 %1 个零字节，至少应有 %2 个").arg(warning.found).arg(kShortestTail);
  }
  return {};
}

QString FrameRows::modeName(std::uint8_t mode) {
  const auto name = lumadot::modeName(mode);
  return name ? tr(QString::fromStdU16String(std::u16string(*name)).toUtf8().constData()) : QStringLiteral("?");
}

}  // namespace lumadot
