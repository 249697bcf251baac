#include "app/port_tooltip.h"

#include <QStringList>

#include "serial/port_mapping.h"

namespace lumadot {

QString portToolTip() {
  QStringList lines{QStringLiteral("串口对应的设备（可用环境变量 LUMADOT_COMn 指定）：")};
  for (const PortMapping& mapping : mapAllPorts()) {
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
  return lines.join(QLatin1Char('\n'));
}

}  // namespace lumadot
