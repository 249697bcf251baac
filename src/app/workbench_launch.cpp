#include "app/workbench_launch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace lumadot {

QStringList workbenchArguments(const QString& text, bool reverseBits, bool split) {
  QStringList arguments{QStringLiteral("--scan"), split ? QStringLiteral("row-bands") : QStringLiteral("rows")};
  if (reverseBits) arguments << QStringLiteral("--lsb-first");
  arguments << QStringLiteral("--") << text;
  return arguments;
}

Result<void> startWorkbench(const QStringList& arguments) {
  const QString name = QStringLiteral("lumadot-workbench");
  const QFileInfo beside(QCoreApplication::applicationDirPath() + u'/' + name);
  QProcess process;
  // A bare name is looked for on PATH.
  process.setProgram(beside.isExecutable() ? beside.filePath() : name);
  process.setArguments(arguments);
  if (!process.startDetached()) {
    const QString reason = process.program() + QStringLiteral(": ") + process.errorString();
    return Failure("无法启动取模工作台", reason.toStdString());
  }
  return {};
}

}  // namespace lumadot
