#pragma once

#include <optional>
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

// com1 to com16, and the serial devices the system lists that none of them
// leads to, by path (in counting order): those are reached by their path.
struct PortOverview {
  std::vector<PortMapping> named;
  std::vector<std::string> others;
};

// How comN leads to a device when the environment names none.
enum class PortRule {
  listOrder,    // the N-th port the system lists, as on Linux, whose ports have no numbers
  windowsName,  // COMN itself, as on Windows
};

// What the system says about its ports, asked only as a rule needs it:
// listing looks at every tty on Linux, and opens every port on Windows.
class PortFacts {
 public:
  virtual ~PortFacts() = default;
  // What LUMADOT_COMn says, as UTF-8; empty when it is not set.
  virtual std::string environment(int number) const = 0;
  // Whether a device the environment names is there.
  virtual bool isThere(const std::string& device) const = 0;
  // Whether COMn is a port the system has; by default as isThere says.
  virtual bool hasPort(const std::string& name) const { return isThere(name); }
  // The serial devices the system lists, in counting order (naturalLess):
  // by default listedPorts()'.
  virtual std::vector<std::string> listed() const;
};

// comN's mappings as a rule makes them from the facts, the list read once at most.
class PortMapper {
 public:
  PortMapper(PortRule rule, const PortFacts& facts) : m_rule(rule), m_facts(facts) {}
  PortMapping map(int number);
  PortOverview overview();

 private:
  const std::vector<std::string>& listed();

  PortRule m_rule;
  const PortFacts& m_facts;
  std::optional<std::vector<std::string>> m_listed;
};

// This system's rule and facts: the one place each system chooses its own.
PortRule systemPortRule();
const PortFacts& systemPortFacts();

// By this system's rule and facts.
PortMapping mapPort(int number);
PortOverview portOverview();

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

// Orders device paths as people count them: ttyS2 before ttyS10.
bool naturalLess(const std::string& a, const std::string& b);

}  // namespace lumadot
