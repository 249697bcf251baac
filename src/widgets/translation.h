#pragma once

// Our own windows are written in Chinese; their English is a translation
// compiled into the program (lumadot_add_translations), chosen by the locale.

#include <QStringList>
#include <QTranslator>
#include <memory>

class QApplication;
class QLocale;

namespace lumadot {

// English under any locale but a Chinese one and C (POSIX), where the
// Chinese of the source stays.
bool wantsEnglish(const QLocale& locale);

// The English of program NAME, :/i18n/NAME_en.qm; null when it carries none.
std::unique_ptr<QTranslator> englishTranslation(const QString& name);
// The English of what every window of ours says through src/widgets: a
// failure's words, a message box's captions.
std::unique_ptr<QTranslator> sharedEnglish();

// Installs englishTranslation(name) and sharedEnglish() on `app` when
// QLocale::system() (LC_ALL, else LC_MESSAGES, else LANG; LANGUAGE first
// unless that is C) wants English. Called right after the QApplication is
// made, before any window.
// Under a locale that keeps our Chinese, also installs qtChinese(qtTranslationFolders()).
void installTranslation(QApplication& app, const QString& name);

// Qt's own words (a message box's buttons, the file dialog) in Chinese, from the first of
// `folders` holding qtbase_zh_CN.qm; null when none does.
std::unique_ptr<QTranslator> qtChinese(const QStringList& folders);
// translations/ beside the program, where the Windows zip puts it, then the system Qt's.
QStringList qtTranslationFolders();
// Installs qtChinese(qtTranslationFolders()) on `app` when the locale keeps our Chinese.
void installQtChinese(QApplication& app);

}  // namespace lumadot
