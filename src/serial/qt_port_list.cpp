// What Linux says about its serial ports, through Qt Serial Port's list.
#include <QSerialPortInfo>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "serial/port_mapping.h"

namespace lumadot {
namespace {

class LinuxPortFacts final : public PortFacts {
 public:
  std::string environment(int number) const override {
    const char* value = std::getenv(("LUMADOT_COM" + std::to_string(number)).c_str());
    return value == nullptr ? std::string() : std::string(value);
  }
  bool isThere(const std::string& device) const override {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(device), error);
  }
};

}  // namespace

std::vector<ListedPort> systemListedPorts() {
  std::vector<ListedPort> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    ports.push_back({info.systemLocation().toStdString(), info.description().toStdString()});
  }
  return ports;
}

PortRule systemPortRule() { return PortRule::listOrder; }

const PortFacts& systemPortFacts() {
  static const LinuxPortFacts facts;
  return facts;
}

}  // namespace lumadot
