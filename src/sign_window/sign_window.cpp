#include "sign_window/sign_window.h"

#include <QTimer>
#include <chrono>

#include "sign_window/frame_rows.h"
#include "sign/listen_request.h"
#include "ui_sign_window.h"
#include "widgets/failure_words.h"
#include "widgets/line_setting_boxes.h"
#include "widgets/port_tooltip.h"

namespace lumadot {
namespace {

// Often enough that a frame's bytes never wait long in the port, and the
// read never waits at all, so the window stays live however fast bytes come.
constexpr std::chrono::milliseconds kReadInterval{20};

}  // namespace

SignWindow::SignWindow(QWidget* parent, SignListener::Clock now)
    : QWidget(parent),
      m_ui(std::make_unique<Ui::SignWindow>()),
      m_receiver(std::make_unique<SystemSerialReceiver>()),
      m_readTimer(new QTimer(this)),
      m_effectTimer(new QTimer(this)),
      m_listener(std::move(now)),
      m_messages(this) {
  m_ui->setupUi(this);
  for (QComboBox* box : lineBoxes()) showStartTextUnselected(*box);
  m_ui->columnsBox->setRange(1, kMaxPanelColumns);
  m_ui->columnsBox->setSingleStep(kModuleColumns);  // a module more or fewer in a chain
  m_ui->columnsBox->setValue(kDefaultPanelColumns);
  m_ui->columnsBox->setKeyboardTracking(false);  // a width typed replays the frame once, when it is whole
  m_readTimer->setObjectName(QStringLiteral("readTimer"));
  m_effectTimer->setObjectName(QStringLiteral("effectTimer"));
  connect(m_ui->listenButton, &QPushButton::clicked, this, &SignWindow::toggleListening);
  connect(m_readTimer, &QTimer::timeout, this, &SignWindow::readLine);
  connect(m_effectTimer, &QTimer::timeout, this, &SignWindow::stepEffect);
  connect(m_ui->columnsBox, &QSpinBox::valueChanged, this, &SignWindow::showPanelWidth);
  showListening(false);
  showPanelWidth();
}

SignWindow::~SignWindow() = default;

bool SignWindow::listening() const { return m_receiver->isOpen(); }

int SignWindow::panelColumns() const { return m_ui->columnsBox->value(); }

void SignWindow::setPanelColumns(int columns) { m_ui->columnsBox->setValue(columns); }

// What plays goes on at the new width from its first step; before the first frame the panel is dark.
void SignWindow::showPanelWidth() {
  m_ui->ledPanel->setSeams(moduleSeams(panelColumns()));
  if (m_playing) return playFromStart();
  m_ui->ledPanel->setPicture(DotPicture(std::vector<std::uint16_t>(static_cast<std::size_t>(panelColumns()))));
}

std::array<QComboBox*, 5> SignWindow::lineBoxes() const {
  return {m_ui->portBox, m_ui->baudBox, m_ui->parityBox, m_ui->dataBitsBox, m_ui->stopBitsBox};
}

ListenBoxes SignWindow::listenBoxes() const {
  const auto text = [](const QComboBox* box) { return box->currentText().toStdU16String(); };
  return {text(m_ui->portBox), text(m_ui->baudBox), text(m_ui->parityBox), text(m_ui->dataBitsBox),
          text(m_ui->stopBitsBox)};
}

void SignWindow::toggleListening() {
  if (listening()) {
    stopListening();
  } else {
    startListening();
  }
}

void SignWindow::startListening() {
  const ListenBoxes boxes = listenBoxes();
  const auto request = listenRequest(boxes);
  if (!request) return m_messages.show(windowWarning(request.error()));
  if (auto opened = m_receiver->openPort(request->port, request->settings); !opened) {
    return m_messages.show(windowWarning(openFailure(boxes.port, opened.error())));
  }
  m_listener.restart();
  m_readTimer->start(kReadInterval);
  showListening(true);
}

// What the listener holds is listed, not lost: a frame cut off by stopping shows as incomplete.
void SignWindow::stopListening() {
  m_readTimer->stop();
  m_listener.finish();
  listFrames(m_listener.takeFrames());
  m_receiver->close();
  showListening(false);
}

void SignWindow::showListening(bool on) {
  m_ui->listenButton->setText(on ? tr("停止接收") : tr("开始接收"));
  for (QComboBox* box : lineBoxes()) box->setEnabled(!on);
  // Devices come and go (USB adapters), so the map is read again each time it may be chosen from.
  if (!on) m_ui->portBox->setToolTip(portToolTip());
}

void SignWindow::readLine() {
  if (auto listened = m_listener.listen(*m_receiver, std::chrono::milliseconds(0)); !listened) {
    const Failure lost = lostFailure(listenBoxes().port, listened.error());
    stopListening();
    return m_messages.show(windowWarning(lost));
  }
  listFrames(m_listener.takeFrames());
}

void SignWindow::listFrames(const std::vector<HeardFrame>& frames) {
  if (frames.empty()) return;
  for (const auto& [frame, number] : frames) {
    m_ui->frameList->addItems(FrameRows::of(frame, number));
    if (frame.complete()) play(frame);
  }
  m_ui->frameList->scrollToBottom();
}

// A whole frame replaces whatever was playing, from the first step of its effect.
void SignWindow::play(const ReceivedFrame& frame) {
  m_playing = frame;
  playFromStart();
}

void SignWindow::playFromStart() {
  m_player.emplace(*m_playing, PanelSettings{panelColumns()});
  m_step = 0;
  m_ui->ledPanel->setPicture(m_player->panel(m_step));
  if (m_player->steps() > 1) {
    m_effectTimer->start(m_player->stepTime());
  } else {
    m_effectTimer->stop();
  }
}

void SignWindow::stepEffect() { m_ui->ledPanel->setPicture(m_player->panel(++m_step)); }

}  // namespace lumadot
