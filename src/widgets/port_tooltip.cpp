#include "widgets/port_tooltip.h"

#include <QStringList>

#include "serial/port_mapping.h"

namespace lumadot {

QString portToolTip() {
  QStringList lines{QStringLiteral("串口对应的设备（可用环境变量 LUMADOT_COMn 指定）：")};
  const PortOverview overview = portOverview();
  for (const PortMapping& mapping : overview.named) {
    const QString device = QString::fromStdString(mapping.device);
    QString line = QStringLiteral("com%1 → ").arg(mapping.number);
    switch (mapping.source) {
      case PortMapping::Source::environment:
        line += device + QStringLiteral("（LUMADOT_COM%1）").arg(mapping.number);
        break;
      case PortMapping::Source::windowsName: line += device; break;
      case PortMapping::Source::systemList:
        line += device + QStringLiteral("（系统列出的第%1个串口）").arg(mapping.number);
        break;
      case PortMapping::Source::none: line += QStringLiteral("没有设备"); break;
    }
    if (mapping.source != PortMapping::Source::none && !mapping.present) line += QStringLiteral("，不存在");
    lines << line;
  }
  for (const std::string& device : overview.others) {
    lines << QStringLiteral("%1（系统列出的其他串口，输入路径即可使用）").arg(QString::fromStdString(device));
  }
#ifdef _WIN32
  lines << QStringLiteral("也可直接输入设备名，如 COM17 或 \\\\.\\COM17");
#else
  lines << QStringLiteral("也可直接输入设备路径，如 /dev/ttyUSB0");
#endif
  return lines.join(QLatin1Char('\n'));
}

}  // namespace lumadot
