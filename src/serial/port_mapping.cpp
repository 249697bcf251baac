#include "serial/port_mapping.h"

#include <algorithm>
#include <cctype>

namespace lumadot {

std::vector<ListedPort> listedPorts() {
  std::vector<ListedPort> ports = systemListedPorts();
  std::sort(ports.begin(), ports.end(),
            [](const ListedPort& a, const ListedPort& b) { return naturalLess(a.device, b.device); });
  return ports;
}

std::vector<std::string> PortFacts::listed() const {
  std::vector<std::string> devices;
  for (ListedPort& port : listedPorts()) devices.push_back(std::move(port.device));
  return devices;
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

PortMapping PortMapper::map(int number) {
  PortMapping mapping;
  mapping.number = number;
  if (std::string fromEnvironment = m_facts.environment(number); !fromEnvironment.empty()) {
    mapping.source = PortMapping::Source::environment;
    mapping.device = std::move(fromEnvironment);
    mapping.present = m_facts.isThere(mapping.device);
    return mapping;
  }
  switch (m_rule) {
    case PortRule::windowsName:
      // Only this port is opened to see whether it is there.
      mapping.source = PortMapping::Source::windowsName;
      mapping.device = "COM" + std::to_string(number);
      mapping.present = m_facts.hasPort(mapping.device);
      break;
    case PortRule::listOrder:
      if (static_cast<std::size_t>(number) <= listed().size()) {
        mapping.source = PortMapping::Source::systemList;
        mapping.device = listed()[static_cast<std::size_t>(number) - 1];
        mapping.present = true;
      }
      break;
  }
  return mapping;
}

PortOverview PortMapper::overview() {
  PortOverview overview;
  for (int n = 1; n <= kPortCount; ++n) overview.named.push_back(map(n));
  for (const std::string& device : listed()) {
    const bool named = std::any_of(overview.named.begin(), overview.named.end(),
                                   [&](const PortMapping& mapping) { return mapping.device == device; });
    if (!named) overview.others.push_back(device);
  }
  return overview;
}

// Read only when asked: a list of ports costs a look at every one.
const std::vector<std::string>& PortMapper::listed() {
  if (!m_listed) m_listed = m_facts.listed();
  return *m_listed;
}

PortMapping mapPort(int number) { return PortMapper(systemPortRule(), systemPortFacts()).map(number); }

PortOverview portOverview() { return PortMapper(systemPortRule(), systemPortFacts()).overview(); }

}  // namespace lumadot
