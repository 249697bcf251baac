#pragma once

// The sign at the end of the serial line, as a window: it listens on a port,
// lists the frames that come and plays the last whole one on its LED panel.
// The listening, the decoding and the effects are the sign's own (src/sign);
// the handlers only move bytes and pictures between them.

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "widgets/message_presenter.h"
#include "sign/sign_listener.h"
#include "sign/sign_player.h"
#include "serial/system_serial.h"

class QComboBox;
class QTimer;

namespace Ui {
class SignWindow;
}

namespace lumadot {

struct ListenBoxes;

class SignWindow final : public QWidget {
  Q_OBJECT

 public:
  // The listener's silences are timed on `now` where one is given (a test's, stepped), else on the steady clock.
  explicit SignWindow(QWidget* parent = nullptr, SignListener::Clock now = {});
  ~SignWindow() override;

  MessagePresenter& messages() { return m_messages; }
  bool listening() const;
  // The frame playing on the panel, or null before the first whole one.
  const SignPlayer* player() const { return m_player ? &*m_player : nullptr; }
  const SignListener& listener() const { return m_listener; }
  // The panel's width in dots, as the width box and --columns set it; kept within 1 to kMaxPanelColumns.
  int panelColumns() const;
  void setPanelColumns(int columns);

 private:
  void toggleListening();
  void readLine();
  void stepEffect();

  std::array<QComboBox*, 5> lineBoxes() const;
  ListenBoxes listenBoxes() const;
  void startListening();
  void stopListening();
  void showListening(bool on);
  void listFrames(const std::vector<HeardFrame>& frames);
  void play(const ReceivedFrame& frame);
  void playFromStart();
  void showPanelWidth();

  std::unique_ptr<Ui::SignWindow> m_ui;
  std::unique_ptr<SystemSerialReceiver> m_receiver;
  QTimer* m_readTimer;
  QTimer* m_effectTimer;
  SignListener m_listener;  // one for the window's life, so numbers go on across listening sessions
  std::optional<ReceivedFrame> m_playing;  // played again from its start on a new width
  std::optional<SignPlayer> m_player;
  long long m_step = 0;
  MessagePresenter m_messages;
};

}  // namespace lumadot
