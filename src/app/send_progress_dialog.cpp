#include "app/send_progress_dialog.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include "widgets/message_presenter.h"

namespace lumadot {

SendProgressDialog::SendProgressDialog(QWidget* owner, QString portText)
    : m_owner(owner), m_portText(std::move(portText)) {}

SendProgressDialog::~SendProgressDialog() = default;

void SendProgressDialog::frameStarted(std::int64_t frameBytes) {
  m_frameBytes = frameBytes;
  m_clock.start();
}

void SendProgressDialog::bytesSent(std::int64_t sent) {
  if (!m_dialog) {
    if (!m_clock.isValid() || m_clock.elapsed() < kShowAfterMs) return;
    // No cancel button and no close box: a run sends its whole frame or ends
    // with the port warning, nothing in between.
    m_dialog = std::make_unique<QProgressDialog>(modalParent(m_owner), Qt::Dialog | Qt::CustomizeWindowHint |
                                                                           Qt::WindowTitleHint);
    m_dialog->setWindowTitle(QStringLiteral("系统提示"));
    m_dialog->setCancelButton(nullptr);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setAutoReset(false);
    m_dialog->setAutoClose(false);
    m_dialog->setMinimumDuration(0);
    m_dialog->setRange(0, static_cast<int>(m_frameBytes));
    m_dialog->setMinimumWidth(360);  // room for the label as the byte count grows
    m_dialog->show();
  }
  m_dialog->setLabelText(QStringLiteral("正在通过串口%1发送：%2 / %3 字节").arg(m_portText).arg(sent).arg(m_frameBytes));
  m_dialog->setValue(static_cast<int>(sent));
  QCoreApplication::processEvents();
}

void SendProgressDialog::frameEnded() {
  m_dialog.reset();
  m_clock.invalidate();
}

}  // namespace lumadot
