#include "widgets/window_command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <set>
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

std::optional<int> readCommandLineBeforeWindow(int argc, char** argv, const QString& worksWithout,
                                               const ReadOptions& read) {
  const bool windowSystem = windowSystemNamed(argc, argv);
  if (const auto exit = read(ourArguments(argc, argv), windowSystem)) return exit;
  if (windowSystem) return std::nullopt;
  std::fprintf(stderr,
               "%s: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); %s works without one\n",
               qPrintable(QCoreApplication::applicationName()), qPrintable(worksWithout));
  return 1;
}

ReadOptions qtParserOptions(QCommandLineParser& parser, int& argc, char** argv) {
  return [&parser, &argc, argv](const std::vector<std::string>&, bool windowSystem) -> std::optional<int> {
    const QCoreApplication app(argc, argv);
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (windowSystem && !(parsed && asksForHelpOrVersion(parser))) return std::nullopt;
    parser.process(app);
    return std::nullopt;
  };
}

}  // namespace lumadot
