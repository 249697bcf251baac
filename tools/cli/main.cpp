#include <QCoreApplication>
#include <algorithm>
#include <string>
#include <vector>

#include "cli/commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
  // Qt Serial Port's notifiers need an application object. It sees only the
  // program's name, so no argument is taken for Qt's own.
  int qtArgc = std::min(argc, 1);
  const QCoreApplication qt(qtArgc, argv);
  return lumadot::cli::runCommandLine(args);
}
