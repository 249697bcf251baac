#include <QApplication>

#include <optional>
#include <variant>

#include "base/version.h"
#include "extract/font_location.h"
#include "widgets/translation.h"
#include "widgets/window_command_line.h"
#include "workbench/workbench_command_line.h"
#include "workbench/workbench_window.h"

int main(int argc, char* argv[]) {
  QApplication::setOrganizationName(QStringLiteral("Lumadot"));
  QApplication::setApplicationName(QStringLiteral("lumadot-workbench"));
  QApplication::setApplicationVersion(QStringLiteral(LUMADOT_VERSION));

  std::optional<lumadot::WorkbenchStart> start;
  const auto readStart = [&start](const std::vector<std::string>& ours, bool) -> std::optional<int> {
    auto read = lumadot::readWorkbenchCommandLine(ours);
    if (const int* exit = std::get_if<int>(&read)) return *exit;
    start = std::move(std::get<lumadot::WorkbenchStart>(read));
    return std::nullopt;
  };
  if (const auto exit = lumadot::readCommandLineBeforeWindow(argc, argv, QStringLiteral("lumadot-cli"), readStart)) {
    return *exit;
  }

  QApplication app(argc, argv);
  lumadot::installTranslation(app, QStringLiteral("lumadot-workbench"));
  lumadot::WorkbenchWindow window(lumadot::programDirectory());
  window.apply(*start);
  window.show();
  return QApplication::exec();
}
