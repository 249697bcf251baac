#pragma once

#include <string>
#include <vector>

namespace lumadot {

// Where comN leads on this machine.
struct PortMapping {
  enum class Source {
    environment,  // LUMADOT_COMN names the device
    windowsName,  // COMN itself
    systemList,   // the N-th serial port the system lists, by device path
    none,         // nothing: the system lists fewer ports
  };

  int number = 1;
  Source source = Source::none;
  std::string device;  // UTF-8; empty for Source::none
  bool present = false;
};

PortMapping mapPort(int number);

// A serial device the system lists, and what the system calls it
// ("USB-Serial Controller"; empty when it says nothing).
struct ListedPort {
  std::string device;  // UTF-8 path (COMn on Windows)
  std::string description;
};
// In counting order (naturalLess), as comN takes them.
std::vector<ListedPort> listedPorts();

// com1 to com16, and the serial devices the system lists that none of them
// leads to, by path (in counting order): those are reached by their path.
struct PortOverview {
  std::vector<PortMapping> named;
  std::vector<std::string> others;
};
PortOverview portOverview();

// Orders device paths as people count them: ttyS2 before ttyS10.
bool naturalLess(const std::string& a, const std::string& b);

}  // namespace lumadot
