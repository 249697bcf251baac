#include <string>
#include <vector>

#ifndef _WIN32
#include <QCoreApplication>
#endif

#include "cli/commands.h"
#include "common/program_start.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args = lumadot::tools::programArguments(argc, argv);
  lumadot::tools::setUpStandardStreams();
#ifndef _WIN32
  // Qt Serial Port's notifiers need an application object. It sees only the
  // program's name, so no argument is taken for Qt's own.
  int qtArgc = argc < 1 ? argc : 1;
  const QCoreApplication qt(qtArgc, argv);
#endif
  return lumadot::cli::runCommandLine(args);
}
