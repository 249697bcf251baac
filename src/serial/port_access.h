#pragma once

// Opening and configuring a QSerialPort on Linux, shared by the sending
// device and the receiving one. Failures give the reason only; the caller
// names the port.

#include <QIODevice>
#include <string>

#include "base/result.h"
#include "serial/line_settings.h"
#include "serial/port_mapping.h"
#include "serial/port_names.h"

class QSerialPort;

namespace lumadot {

// The port's last error in Qt's words, the system's error where Qt names one.
Failure portError(const QSerialPort& port);

// Opens `device` for this program alone.
Result<void> openPort(QSerialPort& port, const std::string& device, QIODevice::OpenMode mode);
Result<void> configurePort(QSerialPort& port, const LineSettings& settings);

}  // namespace lumadot
