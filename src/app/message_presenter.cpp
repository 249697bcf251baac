#include "app/message_presenter.h"

#include <QMessageBox>
#include <QPushButton>

namespace lumadot {

QWidget* modalParent(QWidget* owner) { return owner && owner->isEnabled() ? owner : nullptr; }

void MessagePresenter::show(const Message& message) const {
  if (m_recorder) {
    m_recorder(message);
    return;
  }
  QMessageBox box(message.icon == MessageIcon::warning ? QMessageBox::Warning : QMessageBox::NoIcon,
                  QString::fromStdString(message.title), QString::fromStdString(message.text),
                  QMessageBox::Ok, modalParent(m_owner));
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);  // paths and links can be copied
  box.exec();
}

}  // namespace lumadot
