#include <windows.h>

#include "extract/text_codec.h"
#include "serial/port_mapping.h"

namespace lumadot {
namespace {

std::string toUtf8(const wchar_t* text, std::size_t length) { return utf16ToUtf8(std::u16string(text, text + length)); }

}  // namespace

// Every serial port the system has a driver for is a value here, its data the
// COMn name; the value's name is the kernel's device ("\Device\Serial0"),
// nothing a person would know the port by, so no description is given.
std::vector<ListedPort> systemListedPorts() {
  std::vector<ListedPort> ports;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return ports;
  }
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    wchar_t data[256];
    DWORD nameLength = 256;
    DWORD dataBytes = sizeof(data);
    DWORD type = 0;
    const LSTATUS status = RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                         reinterpret_cast<BYTE*>(data), &dataBytes);
    if (status == ERROR_MORE_DATA) continue;  // no COMn name is that long
    if (status != ERROR_SUCCESS) break;
    if (type != REG_SZ) continue;
    std::size_t length = dataBytes / sizeof(wchar_t);
    while (length > 0 && data[length - 1] == L'\0') --length;
    if (length > 0) ports.push_back({toUtf8(data, length), {}});
  }
  RegCloseKey(key);
  return ports;
}

}  // namespace lumadot
