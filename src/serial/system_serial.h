#pragma once

// The serial port as this system reaches it: Qt Serial Port on Linux, the
// Win32 API on Windows, where the programs carry no Qt Serial Port.

#include <memory>

#include "serial/serial_device.h"

#ifdef _WIN32
#include "serial/win32_serial_receiver.h"
#else
#include "serial/qt_serial_receiver.h"
#endif

namespace lumadot {

std::unique_ptr<SerialDevice> makeSystemSerialDevice();

#ifdef _WIN32
using SystemSerialReceiver = Win32SerialReceiver;
#else
using SystemSerialReceiver = QtSerialReceiver;
#endif

}  // namespace lumadot
