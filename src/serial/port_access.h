#pragma once

// Opening and configuring a QSerialPort, shared by the sending device and the
// receiving one. Failures give the reason only; the caller names the port.

#include <QIODevice>
#include <string>

#include "base/result.h"
#include "serial/line_settings.h"
#include "serial/port_names.h"

class QSerialPort;

namespace lumadot {

// The device comN stands for, or why there is none; a device named by its path as it stands.
Result<std::string> mappedDevice(const PortChoice& port);
// Opens `device` for this program alone.
Result<void> openPort(QSerialPort& port, const std::string& device, QIODevice::OpenMode mode);
Result<void> configurePort(QSerialPort& port, const LineSettings& settings);

}  // namespace lumadot
