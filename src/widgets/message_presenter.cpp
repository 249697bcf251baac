#include "widgets/message_presenter.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

namespace lumadot {
namespace {

// Qt captions its message boxes' details button in its own English; ours
// are in the window's language, as every other caption.
class DetailsCaptions final : public QTranslator {
 public:
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* sourceText, const char* /*disambiguation*/,
                    int /*n*/) const override {
    if (qstrcmp(context, "QMessageBox") != 0) return {};
    if (qstrcmp(sourceText, "Show Details...") == 0) return m_show;
    if (qstrcmp(sourceText, "Hide Details...") == 0) return m_hide;
    return {};
  }

  // Read from the window's translation outside translate(), which Qt calls with its translators locked.
  void update() {
    m_show = MessagePresenter::tr("显示详细信息…");
    m_hide = MessagePresenter::tr("隐藏详细信息…");
  }

 private:
  QString m_show;
  QString m_hide;
};

void captionDetailsInOurWords() {
  static DetailsCaptions* const captions = [] {
    auto* translator = new DetailsCaptions;  // lives as long as the program
    translator->update();
    QCoreApplication::installTranslator(translator);
    // Every widget is told of the new translator by a posted event; a box
    // made before it arrives would take its "确定" back to "OK".
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    return translator;
  }();
  captions->update();
}

}  // namespace

QWidget* modalParent(QWidget* owner) { return owner && owner->isEnabled() ? owner : nullptr; }

void MessagePresenter::show(const Message& message) const {
  if (m_recorder) {
    m_recorder(message);
    return;
  }
  captionDetailsInOurWords();
  QMessageBox box(message.icon == MessageIcon::warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                  QString::fromStdString(message.title), QString::fromStdString(message.text),
                  QMessageBox::Ok, modalParent(m_owner));
  box.button(QMessageBox::Ok)->setText(tr("确定"));
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);  // paths and links can be copied
  if (!message.detail.empty()) box.setDetailedText(QString::fromStdString(message.detail));
  box.exec();
}

}  // namespace lumadot
