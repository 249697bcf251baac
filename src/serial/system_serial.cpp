#include "serial/system_serial.h"

#include "serial/system_serial_device.h"

namespace lumadot {

std::unique_ptr<SerialDevice> makeSystemSerialDevice() { return std::make_unique<SystemSerialDevice>(); }

}  // namespace lumadot
