#pragma once

// The main window: the one place that knows every module. Its handlers keep
// their window's names (Command1_Click, Timer1_Timer, ...), read the controls
// into plain structs, call the run, the clock or the About window, and show
// what they report through the MessagePresenter.


#include <QDialog>
#include <QPointer>
#include <array>
#include <memory>

#include "about/contact_actions.h"
#include "widgets/message_presenter.h"
#include "extract/font_file.h"

class QComboBox;
class QTimer;

namespace Ui {
class Form1;
}

namespace lumadot {

struct RunReport;
struct SendBoxes;
class ClockDisplay;
class SerialDevice;
class Form2;
class Form3;

// The main window. A dialog, so that "取模" is the default button that Enter
// presses unless another push button has the focus.
class Form1 final : public QDialog {
  Q_OBJECT

 public:
  explicit Form1(FontPaths fonts, QWidget* parent = nullptr);
  ~Form1() override;

  MessagePresenter& messages() { return m_messages; }
  void setContactActions(ContactActions actions) { m_contactActions = std::move(actions); }
  // The open About and usage windows, or null.
  Form2* aboutWindow() const;
  Form3* usageWindow() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void showEvent(QShowEvent* event) override;

 private:
  void Form_Load();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Check3_Click();
  void Timer1_Timer();
  void showResultBoxMenu(const QPoint& at);
  void openInWorkbench();

  std::array<QComboBox*, 7> parameterBoxes() const;
  SendBoxes sendBoxes() const;
  void showStartTextsUnselected();
  void disableWhileOpen(QWidget& window);
  void showRun(const RunReport& report);

  std::unique_ptr<Ui::Form1> m_ui;
  std::unique_ptr<SerialDevice> m_port;  // keeps its port number and settings between runs
  bool m_runInProgress = false;
  class WindowClock;  // the clock's view of this window's controls
  QTimer* m_timer1;
  std::unique_ptr<WindowClock> m_clockControls;
  std::unique_ptr<ClockDisplay> m_clock;
  FontPaths m_fonts;
  MessagePresenter m_messages;
  ContactActions m_contactActions = ContactActions::platformDefaults();
  QPointer<Form2> m_about;
  QPointer<Form3> m_usage;
};

}  // namespace lumadot
