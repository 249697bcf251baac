#include <QApplication>
#include <QCommandLineParser>

#include "base/version.h"
#include "sign_window/sign_window.h"
#include "widgets/translation.h"
#include "widgets/window_command_line.h"

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("lumadot-sign"));
  QApplication::setApplicationVersion(QStringLiteral(LUMADOT_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Lumadot's LED sign on screen: listens on a serial port and plays the frames that come."));
  parser.addHelpOption();
  parser.addVersionOption();
  if (const auto exit = lumadot::readCommandLineBeforeWindow(argc, argv, QStringLiteral("lumadot-cli sign"),
                                                              lumadot::qtParserOptions(parser, argc, argv))) {
    return *exit;
  }

  QApplication app(argc, argv);
  lumadot::installTranslation(app, QStringLiteral("lumadot-sign"));
  parser.process(app);

  lumadot::SignWindow window;
  window.show();
  return QApplication::exec();
}
