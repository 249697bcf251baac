#include "app/workbench_launch.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>

namespace lumadot {

QStringList workbenchArguments(const QString& text, bool reverseBits, bool split) {
  QStringList arguments{QStringLiteral("--scan"), split ? QStringLiteral("row-bands") : QStringLiteral("rows")};
  if (reverseBits) arguments << QStringLiteral("--lsb-first");
  arguments << QStringLiteral("--") << text;
  return arguments;
}

Result<void> startWorkbench(const QStringList& arguments) {
#ifdef _WIN32
  const QString name = QStringLiteral("lumadot-workbench.exe");
#else
  const QString name = QStringLiteral("lumadot-workbench");
#endif
  const QFileInfo beside(QCoreApplication::applicationDirPath() + u'/' + name);
  QProcess process;
  // A bare name is looked for on PATH.
  process.setProgram(beside.isExecutable() ? beside.filePath() : name);
  process.setArguments(arguments);
  if (!process.startDetached()) {
    const std::string words = process.errorString().toStdString();
    // Qt's words say only that exec failed; a program found nowhere is the usual reason.
    const bool nowhere = !beside.isExecutable() && QStandardPaths::findExecutable(name).isEmpty();
    const Failure why = Failure(words).because({CauseKind::system, words, {nowhere ? ENOENT : 0}});
    const Failure at = failureAt(process.program().toStdString(), why);
    return Failure("无法启动取模工作台", at.text).because(at.cause);
  }
  return {};
}

}  // namespace lumadot
