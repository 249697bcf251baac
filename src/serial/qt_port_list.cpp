#include <QSerialPortInfo>

#include "serial/port_mapping.h"

namespace lumadot {

std::vector<ListedPort> systemListedPorts() {
  std::vector<ListedPort> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    ports.push_back({info.systemLocation().toStdString(), info.description().toStdString()});
  }
  return ports;
}

}  // namespace lumadot
