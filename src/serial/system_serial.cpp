#include "serial/system_serial.h"

#ifdef _WIN32
#include "serial/win32_serial_device.h"
#else
#include "serial/qt_serial_device.h"
#endif

namespace lumadot {

std::unique_ptr<SerialDevice> makeSystemSerialDevice() {
#ifdef _WIN32
  return std::make_unique<Win32SerialDevice>();
#else
  return std::make_unique<QtSerialDevice>();
#endif
}

}  // namespace lumadot
