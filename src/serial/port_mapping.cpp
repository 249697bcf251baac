#include "serial/port_mapping.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <cctype>
#include <optional>

#include "serial/port_names.h"

namespace lumadot {
namespace {

std::vector<std::string> systemPorts() {
  std::vector<std::string> devices;
  for (ListedPort& port : listedPorts()) devices.push_back(std::move(port.device));
  return devices;
}

// The system's list is read only when the environment names no device:
// listing looks at every tty the system has, a tenth of a second here.
PortMapping mapPort(int number, std::optional<std::vector<std::string>>& listed) {
  PortMapping mapping;
  mapping.number = number;
  const QString fromEnvironment = qEnvironmentVariable(QStringLiteral("LUMADOT_COM%1").arg(number).toLatin1().constData());
  if (!fromEnvironment.isEmpty()) {
    mapping.source = PortMapping::Source::environment;
    mapping.device = fromEnvironment.toStdString();
    mapping.present = QFileInfo::exists(fromEnvironment);
    return mapping;
  }
  if (!listed) listed = systemPorts();
#ifdef _WIN32
  mapping.source = PortMapping::Source::windowsName;
  mapping.device = "COM" + std::to_string(number);
  mapping.present = std::find(listed->begin(), listed->end(), mapping.device) != listed->end();
#else
  if (static_cast<std::size_t>(number) <= listed->size()) {
    mapping.source = PortMapping::Source::systemList;
    mapping.device = (*listed)[static_cast<std::size_t>(number) - 1];
    mapping.present = true;
  }
#endif
  return mapping;
}

}  // namespace

std::vector<ListedPort> listedPorts() {
  std::vector<ListedPort> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#ifdef _WIN32
    ports.push_back({info.portName().toStdString(), info.description().toStdString()});
#else
    ports.push_back({info.systemLocation().toStdString(), info.description().toStdString()});
#endif
  }
  std::sort(ports.begin(), ports.end(),
            [](const ListedPort& a, const ListedPort& b) { return naturalLess(a.device, b.device); });
  return ports;
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
