#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <optional>

#include "base/version.h"
#include "options/panel_options.h"
#include "sign/panel_chain.h"
#include "sign_window/sign_window.h"
#include "widgets/translation.h"
#include "widgets/window_command_line.h"

namespace {

// --columns read as lumadot-cli sign reads it; nothing once it is refused, with the reason said.
std::optional<int> panelColumns(const QCommandLineParser& parser, const QCommandLineOption& option) {
  if (!parser.isSet(option)) return lumadot::kDefaultPanelColumns;
  const std::string given = parser.value(option).toStdString();
  if (const auto columns = lumadot::panelColumnsGiven(given)) return columns;
  std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
               lumadot::panelColumnsProblem(given).c_str());
  return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("lumadot-sign"));
  QApplication::setApplicationVersion(QStringLiteral(LUMADOT_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Lumadot's LED sign on screen: listens on a serial port and plays the frames that come."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption columns(
      QStringLiteral("columns"),
      QString::fromUtf8(lumadot::kPanelColumnsHelp.data(), lumadot::kPanelColumnsHelp.size()).replace(u'\n', u' '),
      QStringLiteral("N"));
  parser.addOption(columns);
  const auto readQt = lumadot::qtParserOptions(parser, argc, argv);
  const auto read = [&](const std::vector<std::string>& ours, bool windowSystem) -> std::optional<int> {
    if (const auto exit = readQt(ours, windowSystem)) return exit;
    return panelColumns(parser, columns) ? std::nullopt : std::optional<int>(1);
  };
  if (const auto exit = lumadot::readCommandLineBeforeWindow(argc, argv, QStringLiteral("lumadot-cli sign"), read)) {
    return *exit;
  }

  QApplication app(argc, argv);
  lumadot::installTranslation(app, QStringLiteral("lumadot-sign"));
  parser.process(app);
  // Read again: Qt's own options may have kept the first reading from getting this far.
  const auto width = panelColumns(parser, columns);
  if (!width) return 1;

  lumadot::SignWindow window;
  window.setPanelColumns(*width);
  window.show();
  return QApplication::exec();
}
