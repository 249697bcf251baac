#include "message_presenter.h"

#include <QMessageBox>
#include <QPushButton>

namespace lumadot {

void MessagePresenter::show(const Message& message) const {
  if (m_recorder) {
    m_recorder(message);
    return;
  }
  // A box owned by a disabled window would be disabled too, and could never
  // be closed: the clock may run while the About window has the main window
  // disabled.
  QWidget* parent = m_owner && m_owner->isEnabled() ? m_owner : nullptr;
  QMessageBox box(message.style == kStyleWarning ? QMessageBox::Warning : QMessageBox::NoIcon,
                  QString::fromStdU16String(message.title), QString::fromStdU16String(message.text),
                  QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
  box.setTextInteractionFlags(Qt::TextSelectableByMouse);  // paths and links can be copied
  box.exec();
}

}  // namespace lumadot
