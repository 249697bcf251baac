// What Windows says about its serial ports, through the registry.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cwchar>
#include <filesystem>
#include <system_error>

#include "extract/text_codec.h"
#include "serial/port_mapping.h"
#include "serial/win32_port.h"

namespace lumadot {
namespace {

std::string toUtf8(const wchar_t* text, std::size_t length) { return utf16ToUtf8(std::u16string(text, text + length)); }

bool sameLetters(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

// Every serial port the system has a driver for is a value here, its data the
// COMn name; the value's name is the kernel's device ("\Device\Serial0"),
// nothing a person would know the port by, so no description is given. A
// driver's port need not be there: a USB adapter's stays listed unplugged,
// and wine lists every port its registry names.
std::vector<std::string> registryPorts() {
  std::vector<std::string> ports;
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
    if (length > 0) ports.push_back(toUtf8(data, length));
  }
  RegCloseKey(key);
  return ports;
}

// COMn, in any case, is a port the registry lists that is there.
bool systemHasPort(std::string_view name) {
  const std::vector<std::string> listed = registryPorts();
  const auto match = std::find_if(listed.begin(), listed.end(), [&](const std::string& port) { return sameLetters(port, name); });
  return match != listed.end() && portAnswers(*match);
}

class WindowsPortFacts final : public PortFacts {
 public:
  // Windows keeps the environment in UTF-16.
  std::string environment(int number) const override {
    const std::wstring name = L"LUMADOT_COM" + std::to_wstring(number);
    const wchar_t* value = ::_wgetenv(name.c_str());
    if (value == nullptr) return {};
    const std::wstring_view wide(value);
    return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
  }
  bool hasPort(const std::string& name) const override { return systemHasPort(name); }
  // A COM port is no file on Windows: it is there when the system has it.
  bool isThere(const std::string& device) const override {
    std::string_view name = device;
    if (name.starts_with("\\\\.\\")) name.remove_prefix(4);
    std::error_code error;
    return hasPort(std::string(name)) || std::filesystem::exists(std::filesystem::path(utf8ToUtf16(device)), error);
  }
};

}  // namespace

std::vector<ListedPort> systemListedPorts() {
  std::vector<ListedPort> ports;
  for (std::string& name : registryPorts()) {
    if (portAnswers(name)) ports.push_back({std::move(name), {}});
  }
  return ports;
}

PortRule systemPortRule() { return PortRule::windowsName; }

const PortFacts& systemPortFacts() {
  static const WindowsPortFacts facts;
  return facts;
}

}  // namespace lumadot
