#include <QApplication>
#include <QCommandLineParser>

#include "base/version.h"
#include "sign_window/sign_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("lumadot-sign"));
  QApplication::setApplicationVersion(QStringLiteral(LUMADOT_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Lumadot's LED sign on screen: listens on a serial port and plays the frames that come."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.process(app);

  lumadot::SignWindow window;
  window.show();
  return QApplication::exec();
}
