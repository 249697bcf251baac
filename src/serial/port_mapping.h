#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "serial/port_names.h"

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

// The device comN stands for, or why there is none; a device named by its path as it stands.
Result<std::string> mappedDevice(const PortChoice& port);
// The same, with `label` naming the port as a listening end's failures do:
// "com1 (/dev/pts/3)", or "com1" alone when it leads nowhere.
Result<std::string> mappedDevice(const PortChoice& port, std::string& label);

// A serial device the system lists, and what the system calls it
// ("USB-Serial Controller"; empty when it says nothing).
struct ListedPort {
  std::string device;  // UTF-8 path (COMn on Windows)
  std::string description;
};
// In counting order (naturalLess), as comN takes them.
std::vector<ListedPort> listedPorts();
// The same in the system's own order: Qt's list on Linux; on Windows the
// registry's, of the ports that are there (portAnswers), as Qt lists only
// the serial devices that are there.
std::vector<ListedPort> systemListedPorts();
#ifdef _WIN32
// COMn, in any case, is a port the registry lists that is there.
bool systemHasPort(std::string_view name);
#endif

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
