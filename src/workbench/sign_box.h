#pragma once

// The workbench's sign box: the port, its line and the sign's speed and mode,
// "发送" to send the glyphs' frame and "模拟" to play its effect as the sign
// would. It reads its boxes once per press, into the same SendRequest the
// main window makes, and touches nothing outside itself: what it did is told
// by its signals and its own message boxes.

#include <QGroupBox>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "extract/glyphs.h"
#include "preview/dot_picture.h"
#include "serial/send_request.h"
#include "sign/sign_player.h"
#include "widgets/message_presenter.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSettings;
class QThread;
class QTimer;

namespace lumadot {

struct RunReport;

class SignBox final : public QGroupBox {
  Q_OBJECT

 public:
  explicit SignBox(QWidget* parent = nullptr);
  ~SignBox() override;  // waits for a send in progress to end

  // What "发送" and "模拟" take, its bytes in `layout`; stops a simulation of
  // the glyphs before. Both go in the frame's layout, whatever `layout` is.
  void setGlyphs(const Glyphs& glyphs, const ByteLayout& layout);
  // The glyphs as the frame carries them.
  Glyphs frameGlyphs() const;
  void setPanelColumns(int columns) { m_panelColumns = columns; }

  // The boxes as typed, and the request they make, read as "发送" reads them.
  SendBoxes boxes() const;
  Result<SendRequest> request() const;
  // Whether the glyphs are something the sign can show, and if not, why.
  bool canSend() const { return sendRefusal().isEmpty(); }
  QString sendRefusal() const;
  bool sending() const { return m_sender != nullptr; }
  bool simulating() const { return m_player.has_value(); }

  void showBoxes(const SendBoxes& boxes);
  void saveSettings(QSettings& settings) const;
  void loadSettings(const QSettings& settings);
  void restoreDefaults();

  MessagePresenter& messages() { return m_messages; }

 signals:
  void sent(std::vector<std::uint8_t> frame);
  void sendFailed(QString why);
  void panelChanged(const DotPicture& panel);
  void simulationStopped();

 private:
  void buildLayout();
  void fillEffectBoxes();
  void updateButtons();
  void send();
  void sendEnded(const RunReport& report);
  void fail(const Failure& failure);
  void toggleSimulation();
  void startSimulation();
  void stopSimulation();
  void stepSimulation();

  QComboBox* m_portBox;
  QComboBox* m_baudBox;
  QComboBox* m_parityBox;
  QComboBox* m_dataBitsBox;
  QComboBox* m_stopBitsBox;
  QComboBox* m_speedBox;
  QComboBox* m_modeBox;
  QPushButton* m_sendButton;
  QPushButton* m_simulateButton;
  QLabel* m_refusalLabel;
  QLabel* m_frameLayoutLabel;
  QProgressBar* m_progress;
  QTimer* m_simulationTimer;
  Glyphs m_glyphs;
  ByteLayout m_layout;  // the one m_glyphs' bytes are in
  int m_panelColumns = kDefaultPanelColumns;
  std::unique_ptr<QThread> m_sender;
  std::optional<SignPlayer> m_player;
  long long m_step = 0;
  MessagePresenter m_messages;
  QString m_sentPort;  // as the request named it, for the notice
};

}  // namespace lumadot
