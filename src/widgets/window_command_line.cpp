#include "widgets/window_command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <string_view>

namespace lumadot {
namespace {

// --help-all is not among them: the Qt options it lists are QApplication's only once there is one.
bool asksForHelpOrVersion(const QCommandLineParser& parser) {
  return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("version"));
}

}  // namespace

bool windowSystemNamed(int argc, char** argv) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
  Q_UNUSED(argc);
  Q_UNUSED(argv);
  return true;
#else
  if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
      !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    return true;
  }
  // -platform offscreen is as good as QT_QPA_PLATFORM=offscreen.
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "-platform" || argument == "--platform") return true;
  }
  return false;
#endif
}

bool readCommandLineBeforeWindow(int& argc, char** argv, QCommandLineParser& parser, const QString& worksWithout) {
  const bool windowSystem = windowSystemNamed(argc, argv);
  const QCoreApplication app(argc, argv);
  const bool parsed = parser.parse(QCoreApplication::arguments());
  // With a window system, a line the parser refuses may only hold Qt's own options: QApplication judges it.
  if (windowSystem && !(parsed && asksForHelpOrVersion(parser))) return true;
  parser.process(app);
  std::fprintf(stderr,
               "%s: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); %s works without one\n",
               qPrintable(QCoreApplication::applicationName()), qPrintable(worksWithout));
  return false;
}

}  // namespace lumadot
