// The clock in the main window, as a user meets it: real widgets on the
// offscreen platform, Timer1's ticks delivered as the timer delivers them.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <cstdlib>
#include <future>

#include "about/form2.h"
#include "app/form1.h"
#include "clock/clock_display.h"
#include "clock/qt_clock_reading.h"
#include "run/extraction_run.h"
#include "support/process.h"
#include "support/recording_hooks.h"
#ifndef _WIN32
#include "serial/system_serial_device.h"
#include "support/pseudo_terminal.h"
#include "support/serial_line.h"
#endif
#include "support/synthetic_fonts.h"
#include "support/widgets.h"

using namespace lumadot;

namespace {

QString sentenceNow() {
  return QString::fromStdU16String(clockSentence(readClock(clockLocale(), QDateTime::currentDateTime())));
}

QString rawText(const QPlainTextEdit& box) { return box.document()->toRawText(); }

}  // namespace

class Form1ClockTest : public QObject {
  Q_OBJECT

 public:
  Form1ClockTest() : m_fonts(test::writeSyntheticFonts(m_fontDir.path())) {}

 private slots:
  void init() { openWindow(); }
  void cleanup() {
    m_window.reset();
    qunsetenv("LUMADOT_COM1");
  }

  void startShowsTheSentenceAndItsListing();
  void tickUndoesEditsMadeMeanwhile();
  void stopGivesTheUserTextBackExactly();
#ifndef _WIN32
  // Windows has no C locale: its clock is always the user's locale's.
  void dateIsWrittenAsChinaDoesWithoutALocale();
  // Pseudo-terminals and Qt Serial Port are POSIX; under wine, scripts/windows_window_test.sh sends through COM ports.
  void clockKeepsOnWhileAboutIsOpen();
  void tickWhileABoxIsOpenRunsAtOnce_data();
  void tickWhileABoxIsOpenRunsAtOnce();
  void signShowsTheSentence();
#endif

 private:
  void openWindow() {
    m_messages.clear();
    m_window = std::make_unique<Form1>(m_fonts);
    m_window->messages().recordInstead([this](const Message& message) { m_messages.push_back(message); });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
  }

  template <typename T>
  T* control(const char* name) const {
    T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
    if (!widget) qFatal("no control %s", name);
    return widget;
  }
  QPlainTextEdit* text1() const { return control<QPlainTextEdit>("Text1"); }
  QTimer* timer1() const { return control<QTimer>("Timer1"); }
  void clickCommand3() const { QTest::mouseClick(control<QPushButton>("Command3"), Qt::LeftButton); }
  // What the timer does when its interval is up.
  void tick() const { QVERIFY(QMetaObject::invokeMethod(timer1(), "timeout")); }

  // Text1 holds the sentence of a moment within `action`.
  template <typename Action>
  void verifySentenceAround(Action action) {
    const QString before = sentenceNow();
    action();
    const QString after = sentenceNow();
    const QString shown = text1()->toPlainText();
    QVERIFY2(shown == before || shown == after, qPrintable(shown + " / " + before));
    QVERIFY(shown.startsWith(QStringLiteral("今天是")));
  }

  // Text2 holds the listing of Text1 with the clock's options.
  void verifyClockListing() {
    const RunReport run = runExtraction(text1()->toPlainText().toStdU16String(), windowLayout(true, true), m_fonts);
    QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), QString::fromStdU16String(run.resultText()).remove(u'\r'));
  }

  void verifyClockOptions() const {
    QVERIFY(control<QCheckBox>("Check1")->isChecked());
    QVERIFY(control<QCheckBox>("Check2")->isChecked());
    QCOMPARE(control<QComboBox>("Combo7")->currentText(), QStringLiteral("1"));
  }

  test::TempDir m_fontDir;
  FontPaths m_fonts;
  std::unique_ptr<Form1> m_window;
  std::vector<Message> m_messages;
};

void Form1ClockTest::startShowsTheSentenceAndItsListing() {
  QVERIFY(!timer1()->isActive());
  text1()->setFocus();
  test::typeText(text1(), QStringLiteral("中A"));
  verifySentenceAround([&] { clickCommand3(); });

  QCOMPARE(control<QPushButton>("Command3")->text(), QStringLiteral("停止时间显示"));
  QVERIFY(timer1()->isActive());
  QCOMPARE(timer1()->interval(), 7800);
  QVERIFY(timer1()->remainingTime() > 7000);  // counted from the click
  verifyClockOptions();
  verifyClockListing();
  QVERIFY(m_messages.empty());
}

// Options switched and text typed while the clock runs last until the next tick.
void Form1ClockTest::tickUndoesEditsMadeMeanwhile() {
  clickCommand3();
  control<QCheckBox>("Check1")->click();
  control<QCheckBox>("Check2")->click();
  control<QComboBox>("Combo7")->setEditText(QStringLiteral("3"));
  text1()->selectAll();
  test::typeText(text1(), QStringLiteral("edited"));
  QVERIFY(!control<QCheckBox>("Check1")->isChecked());
  QCOMPARE(text1()->toPlainText(), QStringLiteral("edited"));

  verifySentenceAround([&] { tick(); });
  verifyClockOptions();
  verifyClockListing();
  QVERIFY(timer1()->isActive());

  // The edit is not what the stop gives back.
  clickCommand3();
  QCOMPARE(text1()->toPlainText(), QString());
}

// Whatever the user had, line breaks, no-break spaces and emoji included, comes
// back unchanged, cycle after cycle, and the stop's run lists it again.
void Form1ClockTest::stopGivesTheUserTextBackExactly() {
  text1()->setFocus();
  test::typeText(text1(), QStringLiteral("中A"));
  QTest::keyClick(text1(), Qt::Key_Return, Qt::ControlModifier);
  test::typeText(text1(), QString::fromUtf16(u"B\u00A0 😀 "));
  text1()->insertPlainText(QString::fromUtf16(u"x\u2028y"));
  const QString typed = rawText(*text1());
  control<QComboBox>("Combo7")->setEditText(QStringLiteral("8"));
  control<QPushButton>("Command1")->click();
  const QString userListing = control<QPlainTextEdit>("Text2")->toPlainText();

  for (int cycle = 0; cycle < 2; ++cycle) {
    clickCommand3();
    tick();
    clickCommand3();
    QCOMPARE(rawText(*text1()), typed);
    QCOMPARE(control<QPushButton>("Command3")->text(), QStringLiteral("启动时间显示"));
    QVERIFY(!timer1()->isActive());
    QVERIFY(!control<QCheckBox>("Check1")->isChecked());
    QVERIFY(!control<QCheckBox>("Check2")->isChecked());
    QCOMPARE(control<QComboBox>("Combo7")->currentText(), QStringLiteral("5"));
    QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), userListing);
  }
}

#ifndef _WIN32
// With sending on, the clock sends at speed 1, and goes on sending while the
// About window holds the main window disabled.
void Form1ClockTest::clockKeepsOnWhileAboutIsOpen() {
  test::PseudoTerminal sign;
  ::setenv("LUMADOT_COM1", sign.path().c_str(), 1);
  openWindow();
  control<QCheckBox>("Check3")->click();
  clickCommand3();
  const auto first = sign.receivedAll();
  QVERIFY(first.size() > 545);
  QCOMPARE(first[1], std::uint8_t{1});  // speed byte

  QTest::mouseClick(control<QPushButton>("Command4"), Qt::LeftButton);
  QVERIFY(m_window->aboutWindow() && m_window->aboutWindow()->isVisible());
  QVERIFY(!m_window->isEnabled());
  text1()->setPlainText(QStringLiteral("x"));
  verifySentenceAround([&] { tick(); });
  verifyClockListing();

  const auto both = sign.receivedAll();
  QVERIFY(both.size() > first.size() + 545);
  QCOMPARE(both[first.size() + 1], std::uint8_t{1});
  QCOMPARE(m_messages.size(), size_t{2});
  for (const Message& message : m_messages) QCOMPARE(QString::fromStdString(message.title), QStringLiteral("系统提示"));
  QVERIFY(!m_window->isEnabled());  // the tick left the About window in charge
}

// Real boxes, unanswered as on an unattended sign: a tick that falls while a
// run's box is open runs at once, and its box takes the older one's place.
// Rows: whether the port can be had; what each run's box says.
void Form1ClockTest::tickWhileABoxIsOpenRunsAtOnce_data() {
  QTest::addColumn<bool>("portBusy");
  QTest::addColumn<QString>("boxText");
  QTest::newRow("sent") << false << QStringLiteral("使用串口com1共发送");
  QTest::newRow("port busy") << true << QStringLiteral("串口com1打开失败，可能正在使用中");
}

void Form1ClockTest::tickWhileABoxIsOpenRunsAtOnce() {
  QFETCH(bool, portBusy);
  QFETCH(QString, boxText);
  test::PseudoTerminal sign;
  ::setenv("LUMADOT_COM1", sign.path().c_str(), 1);
  SystemSerialDevice holder;
  if (portBusy) QVERIFY(holder.open());
  openWindow();
  m_window->messages().recordInstead({});
  control<QCheckBox>("Check3")->click();
  const auto openBoxes = [] {
    QList<QMessageBox*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) boxes << box;
    }
    return boxes;
  };

  clickCommand3();
  QTRY_COMPARE(openBoxes().size(), 1);
  const auto first = sign.receivedAll();
  text1()->setPlainText(QStringLiteral("typed meanwhile"));
  verifySentenceAround([&] { tick(); });
  QTRY_COMPARE(openBoxes().size(), 1);
  QVERIFY2(openBoxes()[0]->text().startsWith(boxText), qPrintable(openBoxes()[0]->text()));
  const auto both = sign.receivedAll();
  if (portBusy) {
    QVERIFY(both.empty());
    const QString reason = openBoxes()[0]->detailedText();
    QVERIFY2(reason.startsWith(QString::fromStdString("com1 (" + sign.path() + ")：")), qPrintable(reason));
  } else {
    QVERIFY(first.size() > 545);
    QVERIFY(both.size() > first.size() + 545);  // the tick's frame went out, the box open meanwhile
  }
  QVERIFY(timer1()->isActive());

  // Closing the newest box ends its run: the whole listing, credit block and all.
  openBoxes()[0]->button(QMessageBox::Ok)->click();
  QTRY_COMPARE(openBoxes().size(), 0);
  if (!portBusy) verifyClockListing();
}
#endif

#ifndef _WIN32
// ctest runs this program as most headless machines run, with LC_ALL=C.
void Form1ClockTest::dateIsWrittenAsChinaDoesWithoutALocale() {
  QVERIFY2(QLocale::system().language() == QLocale::C, "run with LC_ALL=C, as ctest does");
  const QString before = QDate::currentDate().toString(u"yyyy/M/d");
  clickCommand3();
  const QString after = QDate::currentDate().toString(u"yyyy/M/d");
  const QString shown = text1()->toPlainText();
  const auto sentence = QRegularExpression(QStringLiteral(R"(^今天是(.+)\(星期.\)现在时间\d\d:\d\d:\d\d$)")).match(shown);
  QVERIFY2(sentence.hasMatch(), qPrintable(shown));
  QVERIFY2(sentence.captured(1) == before || sentence.captured(1) == after, qPrintable(sentence.captured(1)));
}
#endif


#ifndef _WIN32
// The clock's frame over a real serial line to lumadot-cli sign, which draws the sentence.
void Form1ClockTest::signShowsTheSentence() {
  test::SerialLine line;
  ::setenv("LUMADOT_COM1", line.pc().c_str(), 1);
  openWindow();
  auto sign = std::async(std::launch::async, [&line] {
    return test::runProcess(LUMADOT_CLI_PATH, {"sign", "--device", line.sign(), "--count", "1", "--print"});
  });
  control<QCheckBox>("Check3")->click();
  control<QComboBox>("Combo6")->setEditText(QStringLiteral("左移"));
  clickCommand3();
  const auto shown = sign.get();
  QCOMPARE(shown.exitCode, 0);
  const std::string sentence = text1()->toPlainText().toStdString();
  const auto preview = test::runProcess(LUMADOT_CLI_PATH, {"preview", "--width", "0", "--font-dir",
                                                           m_fontDir.path().string(), sentence});
  const std::string summary = shown.out.substr(0, shown.out.find('\n'));
  QVERIFY2(summary.find(", speed 1, mode 1 (左移), ") != std::string::npos, summary.c_str());
  const std::size_t bytes = std::stoul(summary.substr(summary.rfind(", ") + 2));
  QCOMPARE(shown.out.substr(summary.size() + 1), test::signDrawing(preview.out, bytes / 2));
}
#endif

QTEST_MAIN(Form1ClockTest)
#include "form1_clock_test.moc"
