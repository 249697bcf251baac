#include "serial/port_mapping.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "extract/text_codec.h"
#include "serial/port_names.h"

namespace lumadot {
namespace {

std::vector<std::string> systemPorts() {
  std::vector<std::string> devices;
  for (ListedPort& port : listedPorts()) devices.push_back(std::move(port.device));
  return devices;
}

// What LUMADOT_COMn says, as UTF-8: Windows keeps the environment in UTF-16.
std::string environmentDevice(int number) {
  const std::string name = "LUMADOT_COM" + std::to_string(number);
#ifdef _WIN32
  const std::wstring wideName(name.begin(), name.end());
  const wchar_t* value = ::_wgetenv(wideName.c_str());
  if (value == nullptr) return {};
  const std::wstring_view wide(value);
  return utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
#else
  const char* value = std::getenv(name.c_str());
  return value == nullptr ? std::string() : std::string(value);
#endif
}

#ifdef _WIN32
// A COM port is no file on Windows: it is there when the system has it.
bool deviceExists(const std::string& device) {
  std::string_view name = device;
  if (name.starts_with("\\\\.\\")) name.remove_prefix(4);
  std::error_code error;
  return systemHasPort(name) || std::filesystem::exists(std::filesystem::path(utf8ToUtf16(device)), error);
}

// COMN itself: only this port is opened to see whether it is there.
void mapToSystem(PortMapping& mapping, std::optional<std::vector<std::string>>& /*listed*/) {
  mapping.source = PortMapping::Source::windowsName;
  mapping.device = "COM" + std::to_string(mapping.number);
  mapping.present = systemHasPort(mapping.device);
}
#else
bool deviceExists(const std::string& device) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::path(device), error);
}

// On Linux the system's list is read only when the environment names no
// device: listing looks at every tty the system has, a tenth of a second here.
void mapToSystem(PortMapping& mapping, std::optional<std::vector<std::string>>& listed) {
  if (!listed) listed = systemPorts();
  if (static_cast<std::size_t>(mapping.number) <= listed->size()) {
    mapping.source = PortMapping::Source::systemList;
    mapping.device = (*listed)[static_cast<std::size_t>(mapping.number) - 1];
    mapping.present = true;
  }
}
#endif

PortMapping mapPort(int number, std::optional<std::vector<std::string>>& listed) {
  PortMapping mapping;
  mapping.number = number;
  if (std::string fromEnvironment = environmentDevice(number); !fromEnvironment.empty()) {
    mapping.source = PortMapping::Source::environment;
    mapping.device = std::move(fromEnvironment);
    mapping.present = deviceExists(mapping.device);
    return mapping;
  }
  mapToSystem(mapping, listed);
  return mapping;
}

}  // namespace

std::vector<ListedPort> listedPorts() {
  std::vector<ListedPort> ports = systemListedPorts();
  std::sort(ports.begin(), ports.end(),
            [](const ListedPort& a, const ListedPort& b) { return naturalLess(a.device, b.device); });
  return ports;
}

Result<std::string> mappedDevice(const PortChoice& port) {
  if (port.number == 0) return port.device;
  const PortMapping mapping = mapPort(port.number);
  if (mapping.source != PortMapping::Source::none) return mapping.device;
  const std::string n = std::to_string(port.number);
  return Failure("the system lists fewer than " + n + " serial ports; set LUMADOT_COM" + n +
                 " to the device to use, e.g. LUMADOT_COM" + n + "=/dev/ttyUSB0")
      .because({CauseKind::fewerPorts, {}, {port.number}});
}

Result<std::string> mappedDevice(const PortChoice& port, std::string& label) {
  auto device = mappedDevice(port);
  label = device ? portLabel(port, *device) : portLabel(port);
  return device;
}

bool naturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  while (i < a.size() && j < b.size()) {
    if (isDigit(a[i]) && isDigit(b[j])) {
      const std::size_t startA = i;
      const std::size_t startB = j;
      while (i < a.size() && isDigit(a[i])) ++i;
      while (j < b.size() && isDigit(b[j])) ++j;
      std::string_view numberA(a.data() + startA, i - startA);
      std::string_view numberB(b.data() + startB, j - startB);
      numberA.remove_prefix(std::min(numberA.find_first_not_of('0'), numberA.size()));
      numberB.remove_prefix(std::min(numberB.find_first_not_of('0'), numberB.size()));
      if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
      if (numberA != numberB) return numberA < numberB;
    } else {
      if (a[i] != b[j]) return a[i] < b[j];
      ++i;
      ++j;
    }
  }
  if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
  return a < b;  // equal as numbers ("01" and "1"): keep the order total
}

PortMapping mapPort(int number) {
  std::optional<std::vector<std::string>> listed;
  return mapPort(number, listed);
}

PortOverview portOverview() {
  std::optional<std::vector<std::string>> listed;
  PortOverview overview;
  for (int n = 1; n <= kPortCount; ++n) overview.named.push_back(mapPort(n, listed));
  if (!listed) listed = systemPorts();
  for (const std::string& device : *listed) {
    const bool named = std::any_of(overview.named.begin(), overview.named.end(),
                                   [&](const PortMapping& mapping) { return mapping.device == device; });
    if (!named) overview.others.push_back(device);
  }
  return overview;
}

}  // namespace lumadot
