#include <QApplication>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "base/version.h"
#include "extract/font_location.h"
#include "widgets/translation.h"
#include "widgets/window_command_line.h"
#include "workbench/workbench_command_line.h"
#include "workbench/workbench_window.h"

namespace {

// Our options, without Qt's own (-platform offscreen, -style ...), which QApplication takes.
std::vector<std::string> ourArguments(int argc, char** argv) {
  static const std::set<std::string> kQtWithValue{"-platform", "-style", "-geometry", "-qwindowgeometry",
                                                   "-display", "-qwindowtitle", "-qwindowicon", "-stylesheet"};
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    if (kQtWithValue.contains(argv[i])) {
      ++i;
    } else {
      args.emplace_back(argv[i]);
    }
  }
  return args;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication::setOrganizationName(QStringLiteral("Lumadot"));
  QApplication::setApplicationName(QStringLiteral("lumadot-workbench"));
  QApplication::setApplicationVersion(QStringLiteral(LUMADOT_VERSION));

  const auto start = lumadot::readWorkbenchCommandLine(ourArguments(argc, argv));
  if (const int* exit = std::get_if<int>(&start)) return *exit;
  if (!lumadot::windowSystemNamed(argc, argv)) {
    std::fprintf(stderr,
                 "lumadot-workbench: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); "
                 "lumadot-cli works without one\n");
    return 1;
  }

  QApplication app(argc, argv);
  lumadot::installTranslation(app, QStringLiteral("lumadot-workbench"));
  lumadot::WorkbenchWindow window(lumadot::programDirectory());
  window.apply(std::get<lumadot::WorkbenchStart>(start));
  window.show();
  return QApplication::exec();
}
