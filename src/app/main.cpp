#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include "app/form1.h"
#include "base/version.h"
#include "extract/program_directory.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("lumadot"));
  QApplication::setApplicationVersion(QStringLiteral(LUMADOT_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Lumadot: turns text into 16-dot glyph bytes for LED signs, as an 8051 listing."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption fontDir(QStringLiteral("font-dir"),
                                   QStringLiteral("Read asc16 and hzk16 from <dir> instead of the program's folder."),
                                   QStringLiteral("dir"));
  parser.addOption(fontDir);
  parser.process(app);

  const std::filesystem::path directory =
      parser.isSet(fontDir) ? std::filesystem::path(QDir(parser.value(fontDir)).absolutePath().toStdU16String())
                            : lumadot::programDirectory();
  lumadot::Form1 window(lumadot::FontPaths::inDirectory(directory));
  window.show();
  return QApplication::exec();
}
