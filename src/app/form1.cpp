#include "app/form1.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QScopedValueRollback>
#include <QTextDocument>
#include <QTimer>

#include "about/form2.h"
#include "about/form3.h"
#include "about/secondary_window.h"
#include "widgets/port_tooltip.h"
#include "widgets/typed_text.h"
#include "app/send_progress_dialog.h"
#include "clock/clock_display.h"
#include "clock/qt_clock_reading.h"
#include "message/message.h"
#include "serial/system_serial.h"
#include "run/extraction_run.h"
#include "app/workbench_launch.h"
#include "ui_form1.h"
#include "widgets/failure_words.h"
#include "widgets/line_setting_boxes.h"

// Resources of a static library need registering by hand, outside any namespace.
static void initResources() { Q_INIT_RESOURCE(lumadot); }

namespace lumadot {
namespace {

bool isOn(const QCheckBox& box) { return box.checkState() == Qt::Checked; }

QString toQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QFont inputFont() {
  QFont font;
  // Song-style faces first, as the input box is meant to look; then any
  // Chinese face Debian ships, so no character is drawn as a box.
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                    QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC"),
                    QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")});
  font.setPointSizeF(15.75);
  font.setWeight(QFont::Normal);
  return font;
}

}  // namespace

class Form1::WindowClock final : public ClockControls {
 public:
  explicit WindowClock(Form1& window) : m_window(window), m_ui(*window.m_ui) {}

  void showRunning(bool running) override {
    m_ui.Command3->setText(running ? QStringLiteral("停止时间显示") : QStringLiteral("启动时间显示"));
  }
  void startTimer(std::chrono::milliseconds interval) override { m_window.m_timer1->start(interval); }
  void stopTimer() override { m_window.m_timer1->stop(); }
  void setSpeed(std::u16string_view text) override { m_ui.Combo7->setEditText(toQString(text)); }
  void setReverse(bool on) override { m_ui.Check1->setChecked(on); }
  void setSplit(bool on) override { m_ui.Check2->setChecked(on); }
  std::u16string inputText() const override { return exactText(*m_ui.Text1); }
  void setInputText(std::u16string_view text) override { m_ui.Text1->setPlainText(toQString(text)); }
  bool runInProgress() const override { return m_window.m_runInProgress; }
  void runExtraction() override { m_window.Command1_Click(); }

 private:
  Form1& m_window;
  Ui::Form1& m_ui;
};

Form1::Form1(FontPaths fonts, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::Form1>()),
      m_port(makeSystemSerialDevice()),
      m_timer1(new QTimer(this)),
      m_fonts(std::move(fonts)),
      m_messages(this) {
  initResources();
  m_ui->setupUi(this);
  fixWindowFrame(*this, Qt::Window);
  setWindowIcon(QIcon(QStringLiteral(":/lumadot/lumadot.xpm")));
  m_ui->Text1->setFont(inputFont());
  showStartTextsUnselected();
  m_ui->Text1->installEventFilter(this);
  m_ui->Text2->installEventFilter(this);
  m_ui->Text2->setContextMenuPolicy(Qt::CustomContextMenu);
  m_timer1->setObjectName(QStringLiteral("Timer1"));
  m_clockControls = std::make_unique<WindowClock>(*this);
  m_clock = std::make_unique<ClockDisplay>(
      *m_clockControls, [] { return readClock(clockLocale(), QDateTime::currentDateTime()); });

  connect(m_ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(m_ui->Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(m_ui->Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(m_ui->Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
  connect(m_ui->Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
  connect(m_ui->Check3, &QCheckBox::clicked, this, &Form1::Check3_Click);
  connect(m_timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
  connect(m_ui->Text2, &QWidget::customContextMenuRequested, this, &Form1::showResultBoxMenu);

  Form_Load();
}

// The secondary windows have no Qt parent (see SecondaryWindow).
Form1::~Form1() {
  delete m_about.data();
  delete m_usage.data();
}

Form2* Form1::aboutWindow() const { return m_about; }
Form3* Form1::usageWindow() const { return m_usage; }

void Form1::Form_Load() {
  Check3_Click();
  m_ui->Command1->setFocus();
}

// In the order Check3_Click switches them.
std::array<QComboBox*, 7> Form1::parameterBoxes() const {
  return {m_ui->Combo1, m_ui->Combo2, m_ui->Combo3, m_ui->Combo4, m_ui->Combo5, m_ui->Combo6, m_ui->Combo7};
}

void Form1::showStartTextsUnselected() {
  for (QComboBox* box : parameterBoxes()) showStartTextUnselected(*box);
}

SendBoxes Form1::sendBoxes() const {
  const auto text = [](const QComboBox* box) { return box->currentText().toStdU16String(); };
  return {text(m_ui->Combo5), text(m_ui->Combo1), text(m_ui->Combo2), text(m_ui->Combo3),
          text(m_ui->Combo4), text(m_ui->Combo7), text(m_ui->Combo6)};
}

void Form1::Command1_Click() {
  // The send's progress runs the event loop; a run asked for meanwhile (a
  // clock tick) must not start inside this one.
  if (m_runInProgress) return;
  const QScopedValueRollback running(m_runInProgress, true);

  const std::u16string text = typedText(*m_ui->Text1);
  const ByteLayout layout = windowLayout(isOn(*m_ui->Check1), isOn(*m_ui->Check2));
  if (!isOn(*m_ui->Check3)) return showRun(runExtraction(text, layout, m_fonts));
  const SendBoxes boxes = sendBoxes();
  SendProgressDialog progress(this, QString::fromStdU16String(boxes.port));
  SendTarget target{sendRequest(boxes), *m_port, &progress, QLocale().decimalPoint().toStdU16String()};
  showRun(runExtraction(text, layout, m_fonts, &target));
}

// The result box shows what was listed before the run's message box opens
// over it, and its whole text once the box is closed. The box holds up
// nothing: a clock tick meanwhile runs at once, and its box replaces this one.
void Form1::showRun(const RunReport& report) {
  m_messages.closeInPlace();
  if (report.failure) {
    m_ui->Text2->setPlainText(toQString(report.listing));
    m_messages.showInPlace(windowWarning(*report.failure));
    return;
  }
  if (report.sentConfirmation.empty()) {
    m_ui->Text2->setPlainText(toQString(report.resultText()));
    return;
  }
  m_ui->Text2->setPlainText(toQString(report.listing));
  m_messages.showInPlace(noticeMessage(report.sentConfirmation),
                         [this, text = toQString(report.resultText())] { m_ui->Text2->setPlainText(text); });
}

void Form1::Check3_Click() {
  const bool on = isOn(*m_ui->Check3);
  m_ui->Command1->setText(on ? QStringLiteral("取模并发送") : QStringLiteral("取模"));
  for (QComboBox* box : parameterBoxes()) box->setEnabled(on);
  // Devices come and go (USB adapters), so the map is read again whenever sending is switched on.
  if (on || m_ui->Combo5->toolTip().isEmpty()) m_ui->Combo5->setToolTip(portToolTip());
}

void Form1::Command2_Click() { m_ui->Text1->clear(); }

void Form1::Command3_Click() { m_clock->startOrStop(); }

// Keeps firing while the About or usage window has this window disabled.
void Form1::Timer1_Timer() { m_clock->tick(); }

void Form1::Command4_Click() {
  if (!m_about) {
    ContactActions actions = m_contactActions;
    actions.showMessage = [this](const Message& message) { m_messages.show(message); };
    m_about = new Form2(this, std::move(actions));
  }
  disableWhileOpen(*m_about);
}

void Form1::Command5_Click() {
  if (!m_usage) m_usage = new Form3(this);
  disableWhileOpen(*m_usage);
}

// The box's own menu, and after it the way to go on in the workbench.
void Form1::showResultBoxMenu(const QPoint& at) {
  const std::unique_ptr<QMenu> menu(m_ui->Text2->createStandardContextMenu(at));
  menu->setObjectName(QStringLiteral("Text2Menu"));
  menu->addSeparator();
  menu->addAction(QStringLiteral("在取模工作台中打开"), this, &Form1::openInWorkbench);
  menu->exec(m_ui->Text2->viewport()->mapToGlobal(at));
}

void Form1::openInWorkbench() {
  const QString text = toQString(exactText(*m_ui->Text1));
  if (auto started = startWorkbench(workbenchArguments(text, isOn(*m_ui->Check1), isOn(*m_ui->Check2))); !started) {
    m_messages.show(windowWarning(started.error()));
  }
}

// Disabled, not modal: the clock keeps updating the window meanwhile.
void Form1::disableWhileOpen(QWidget& window) {
  window.show();
  setEnabled(false);
}

// Enter in either text box presses "取模", as it does everywhere but on
// another push button; Ctrl+Enter types the line break instead.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == m_ui->Text1 || watched == m_ui->Text2)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (key->modifiers() & Qt::ControlModifier) {
        static_cast<QPlainTextEdit*>(watched)->insertPlainText(QStringLiteral("\n"));
      } else {
        m_ui->Command1->click();
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

// Closing the main window ends the program, secondary windows included.
void Form1::closeEvent(QCloseEvent* event) {
  if (m_about) m_about->close();
  if (m_usage) m_usage->close();
  event->accept();
}

// Opens where the system puts new windows, not centred as QDialog would.
void Form1::showEvent(QShowEvent* event) { QWidget::showEvent(event); }

// Escape must not close the main window.
void Form1::reject() {}

}  // namespace lumadot
