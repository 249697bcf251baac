#include "widgets/translation.h"

#include <QApplication>
#include <QLibraryInfo>
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

namespace {

// Owned by the application, so it outlives every window that reads it.
void install(QApplication& app, std::unique_ptr<QTranslator> translator) {
  if (!translator) return;
  translator->setParent(&app);
  QApplication::installTranslator(translator.release());
}

}  // namespace

std::unique_ptr<QTranslator> qtChinese(const QStringList& folders) {
  for (const QString& folder : folders) {
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_zh_CN"), folder)) return translator;
  }
  return nullptr;
}

QStringList qtTranslationFolders() {
  return {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
          QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

void installQtChinese(QApplication& app) {
  if (!wantsEnglish(QLocale::system())) install(app, qtChinese(qtTranslationFolders()));
}

void installTranslation(QApplication& app, const QString& name) {
  if (!wantsEnglish(QLocale::system())) {
    installQtChinese(app);
    return;
  }
  auto translator = englishTranslation(name);
  if (!translator) {
    qWarning("%s has no English translation; its windows stay in Chinese", qPrintable(name));
    return;
  }
  install(app, std::move(translator));
  install(app, sharedEnglish());
}

}  // namespace lumadot
