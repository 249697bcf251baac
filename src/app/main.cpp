#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include "app/form1.h"
#include "base/version.h"
#include "extract/font_location.h"
#include "widgets/translation.h"
#include "widgets/window_command_line.h"

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("lumadot"));
  QApplication::setApplicationVersion(QStringLiteral(LUMADOT_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Lumadot: turns text into 16-dot glyph bytes for LED signs, as an 8051 listing."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption fontDir(QStringLiteral("font-dir"),
                                   QStringLiteral("Read asc16 and hzk16 from <dir> instead of the program's folder "
                                                  "or ../share/lumadot beside it."),
                                   QStringLiteral("dir"));
  parser.addOption(fontDir);
  if (const auto exit = lumadot::readCommandLineBeforeWindow(argc, argv, QStringLiteral("lumadot-cli"),
                                                              lumadot::qtParserOptions(parser, argc, argv))) {
    return *exit;
  }

  QApplication app(argc, argv);
  lumadot::installQtChinese(app);
  parser.process(app);

  const std::filesystem::path chosen =
      parser.isSet(fontDir) ? std::filesystem::path(QDir(parser.value(fontDir)).absolutePath().toStdU16String())
                            : std::filesystem::path();
  lumadot::Form1 window(lumadot::locateFonts(chosen));
  window.show();
  return QApplication::exec();
}
