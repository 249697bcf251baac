#include "widgets/translation.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

namespace lumadot {

bool wantsEnglish(const QLocale& locale) {
  return locale.language() != QLocale::Chinese && locale.language() != QLocale::C;
}

std::unique_ptr<QTranslator> englishTranslation(const QString& name) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral(":/i18n/%1_en.qm").arg(name))) return nullptr;
  return translator;
}

void installTranslation(QApplication& app, const QString& name) {
  if (!wantsEnglish(QLocale::system())) return;
  auto translator = englishTranslation(name);
  if (!translator) {
    qWarning("%s has no English translation; its windows stay in Chinese", qPrintable(name));
    return;
  }
  // Owned by the application, so it outlives every window that reads it.
  translator->setParent(&app);
  QApplication::installTranslator(translator.release());
}

}  // namespace lumadot
