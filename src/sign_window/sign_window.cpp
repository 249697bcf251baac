#include "sign_window/sign_window.h"

#include <QTimer>
#include <chrono>

#include "message/message.h"
#include "serial/qt_serial_receiver.h"
#include "sign/frame_report.h"
#include "sign/listen_request.h"
#include "ui_sign_window.h"
#include "widgets/line_setting_boxes.h"
#include "widgets/port_tooltip.h"

namespace lumadot {
namespace {

// Often enough that a frame's bytes never wait long in the port, and the
// read never waits at all, so the window stays live however fast bytes come.
constexpr std::chrono::milliseconds kReadInterval{20};

QString caption(bool listening) { return listening ? QStringLiteral("停止接收") : QStringLiteral("开始接收"); }

}  // namespace

SignWindow::SignWindow(QWidget* parent)
    : QWidget(parent),
      m_ui(std::make_unique<Ui::SignWindow>()),
      m_receiver(std::make_unique<QtSerialReceiver>()),
      m_timer1(new QTimer(this)),
      m_timer2(new QTimer(this)),
      m_messages(this) {
  m_ui->setupUi(this);
  for (QComboBox* box : lineBoxes()) showStartTextUnselected(*box);
  m_timer1->setObjectName(QStringLiteral("Timer1"));
  m_timer2->setObjectName(QStringLiteral("Timer2"));
  connect(m_ui->Command1, &QPushButton::clicked, this, &SignWindow::Command1_Click);
  connect(m_timer1, &QTimer::timeout, this, &SignWindow::Timer1_Timer);
  connect(m_timer2, &QTimer::timeout, this, &SignWindow::Timer2_Timer);
  showListening(false);
}

SignWindow::~SignWindow() = default;

bool SignWindow::listening() const { return m_receiver->isOpen(); }

std::array<QComboBox*, 5> SignWindow::lineBoxes() const {
  return {m_ui->Combo5, m_ui->Combo1, m_ui->Combo2, m_ui->Combo3, m_ui->Combo4};
}

ListenBoxes SignWindow::listenBoxes() const {
  const auto text = [](const QComboBox* box) { return box->currentText().toStdU16String(); };
  return {text(m_ui->Combo5), text(m_ui->Combo1), text(m_ui->Combo2), text(m_ui->Combo3), text(m_ui->Combo4)};
}

void SignWindow::Command1_Click() {
  if (listening()) {
    stopListening();
  } else {
    startListening();
  }
}

void SignWindow::startListening() {
  const ListenBoxes boxes = listenBoxes();
  const auto request = listenRequest(boxes);
  if (!request) return m_messages.show(warningMessage(request.error()));
  if (auto opened = m_receiver->openPort(request->port, request->settings); !opened) {
    return m_messages.show(warningMessage(openFailure(boxes.port, opened.error())));
  }
  m_listener.restart();
  m_timer1->start(kReadInterval);
  showListening(true);
}

// What the listener holds is listed, not lost: a frame cut off by stopping shows as incomplete.
void SignWindow::stopListening() {
  m_timer1->stop();
  m_listener.finish();
  listFrames(m_listener.takeFrames());
  m_receiver->close();
  showListening(false);
}

void SignWindow::showListening(bool on) {
  m_ui->Command1->setText(caption(on));
  for (QComboBox* box : lineBoxes()) box->setEnabled(!on);
  // Devices come and go (USB adapters), so the map is read again each time it may be chosen from.
  if (!on) m_ui->Combo5->setToolTip(portToolTip());
}

void SignWindow::Timer1_Timer() {
  if (auto listened = m_listener.listen(*m_receiver, std::chrono::milliseconds(0)); !listened) {
    const Failure lost = lostFailure(listenBoxes().port, listened.error());
    stopListening();
    return m_messages.show(warningMessage(lost));
  }
  listFrames(m_listener.takeFrames());
}

void SignWindow::listFrames(const std::vector<HeardFrame>& frames) {
  if (frames.empty()) return;
  for (const auto& [frame, number] : frames) {
    for (const std::string& line : frameLines(frame, number)) m_ui->List1->addItem(QString::fromStdString(line));
    if (frame.complete()) play(frame);
  }
  m_ui->List1->scrollToBottom();
}

// A whole frame replaces whatever was playing, from the first step of its effect.
void SignWindow::play(const ReceivedFrame& frame) {
  m_player.emplace(frame, PanelSettings{});
  m_step = 0;
  m_ui->Panel1->setPicture(m_player->panel(m_step));
  if (m_player->steps() > 1) {
    m_timer2->start(m_player->stepTime());
  } else {
    m_timer2->stop();
  }
}

void SignWindow::Timer2_Timer() { m_ui->Panel1->setPicture(m_player->panel(++m_step)); }

}  // namespace lumadot
