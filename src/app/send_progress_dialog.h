#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

#include "serial/sending.h"

class QProgressDialog;
class QWidget;

namespace lumadot {

// Shows how far a frame has got once sending has taken longer than about a
// second (the widest text takes some 10 s at 9600 baud). Modal, so nothing else
// starts meanwhile, and it keeps the windows painted while the port waits.
class SendProgressDialog final : public SendProgress {
 public:
  static constexpr int kShowAfterMs = 1000;

  SendProgressDialog(QWidget* owner, QString portText);
  ~SendProgressDialog() override;

  void frameStarted(std::int64_t frameBytes) override;
  void bytesSent(std::int64_t sent) override;
  void frameEnded() override;

 private:
  QWidget* m_owner;
  QString m_portText;
  std::int64_t m_frameBytes = 0;
  QElapsedTimer m_clock;
  std::unique_ptr<QProgressDialog> m_dialog;
};

}  // namespace lumadot
