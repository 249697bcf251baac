#include "sign/panel_chain.h"

namespace lumadot {

int modulesAcross(int columns) { return columns > 0 && columns % kModuleColumns == 0 ? columns / kModuleColumns : 0; }

std::vector<int> moduleSeams(int columns) {
  std::vector<int> seams;
  for (int module = 1; module < modulesAcross(columns); ++module) seams.push_back(module * kModuleColumns);
  return seams;
}

}  // namespace lumadot
