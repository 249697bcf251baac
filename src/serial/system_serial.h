#pragma once

// The serial port as this system reaches it: Qt Serial Port on Linux, the
// Win32 API on Windows, where the programs carry no Qt Serial Port.

#include <memory>

#include "serial/serial_device.h"
#include "serial/system_serial_receiver.h"

namespace lumadot {

std::unique_ptr<SerialDevice> makeSystemSerialDevice();

}  // namespace lumadot
