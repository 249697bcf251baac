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

std::unique_ptr<QTranslator> sharedEnglish() { return englishTranslation(QStringLiteral("lumadot-widgets")); }

void installTranslation(QApplication& app, const QString& name) {
  if (!wantsEnglish(QLocale::system())) return;
  auto translator = englishTranslation(name);
  if (!translator) {
    qWarning("%s has no English translation; its windows stay in Chinese", qPrintable(name));
    return;
  }
  // Owned by the application, so they outlive every window that reads them.
  const auto install = [&app](std::unique_ptr<QTranslator> english) {
    if (!english) return;
    english->setParent(&app);
    QApplication::installTranslator(english.release());
  };
  install(std::move(translator));
  install(sharedEnglish());
}

}  // namespace lumadot
