// The main window as a user meets it: real widgets on the offscreen platform,
// real font files (synthetic ones, and the ones the build made from Unifont).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>

#include "about/form2.h"
#include "base/version.h"
#include "about/form3.h"
#include "app/form1.h"
#include "app/workbench_launch.h"
#include "run/extraction_run.h"
#include "support/process.h"
#ifndef _WIN32
#include "serial/system_serial_device.h"
#include "support/pseudo_terminal.h"
#endif
#include "support/synthetic_fonts.h"
#include "support/widgets.h"

using namespace lumadot;

namespace {

#ifdef _WIN32
const QString kNoPortName = QStringLiteral("ttyUSB0");  // COM1 names a device on Windows
#else
const QString kNoPortName = QStringLiteral("COM1");
#endif

// The last listing and every message box of a run made straight on the core.
QString withoutCarriageReturns(QString text) { return text.remove(u'\r'); }

// Whether a group box's own drawing (its title and frame, its controls left out) reaches into `area`, where
// one of its controls lies: that control would be drawn over them.
bool drawsInto(QWidget& groupBox, const QRect& area) {
  QImage image(groupBox.size(), QImage::Format_RGB32);
  groupBox.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
  const QRgb bare = image.pixel(area.topLeft());
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixel(x, y) != bare) return true;
    }
  }
  return false;
}

// Calls `act` once with the first modal T to come up, `poll` looking in on the event loop that a run
// keeps going: a test acts when the box or the progress is up, however long that takes.
template <typename T, typename Act>
void whenModal(QTimer& poll, Act act) {
  QObject::connect(&poll, &QTimer::timeout, &poll, [&poll, act] {
    auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!widget) return;
    poll.stop();
    act(widget);
  });
  poll.start(20);
}

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 public:
  Form1Test() : m_fonts(test::writeSyntheticFonts(m_fontDir.path())) {}

 private slots:
  void init();
  void cleanup();
  void cleanupTestCase() { qunsetenv("LUMADOT_COM1"); }

  void controls_data();
  void controls();
  void dropDownLists_data();
  void dropDownLists();
  void labelColours_data();
  void labelColours();
  void windowFrame();
  void inputBoxFont();
  void tabOrder();
  void startUpState();
  void check3TogglesSendingAndKeepsBoxTexts();
  void command2ClearsOnlyTheInput();
  void enterRunsAndCtrlEnterBreaksTheLine();
  void enterElsewhere_data();
  void enterElsewhere();
  void escapeKeepsTheWindowOpen();
  void runMatchesTheCore_data();
  void runMatchesTheCore();
  void runMatchesTheCommandLine();
  void missingFontWarnsAndKeepsTheText();
  void fullBufferAndOneMore();
  void secondaryWindows_data();
  void secondaryWindows();
  void secondaryWindowClosedByCloseBox_data();
  void secondaryWindowClosedByCloseBox();
  void closingTheMainWindowClosesTheOthers();
#ifndef _WIN32
  // Pseudo-terminals and Qt Serial Port are POSIX; under wine, scripts/windows_window_test.sh sends through COM ports.
  void sendsTheFrameThroughThePort();
  void longSendShowsProgressAndBlocksOtherRuns();
  void refusedSendWarnsAndKeepsTheResultBoxEmpty_data();
  void refusedSendWarnsAndKeepsTheResultBoxEmpty();
#endif
  void warningBoxKeepsTheReasonBehindAChineseDetailsButton();
  void workbenchArguments_data();
  void workbenchArguments();
  void resultBoxMenuOpensTheWorkbench_data();
  void resultBoxMenuOpensTheWorkbench();

 private:
  // A fresh main window on the given fonts, its message boxes recorded.
  void openWindow(const FontPaths& fonts);

  template <typename T>
  T* control(const char* name) const {
    T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
    if (!widget) qFatal("no control %s", name);
    return widget;
  }
  void typeIntoInput(const QString& text) {
    control<QPlainTextEdit>("Text1")->setFocus();
    test::typeText(control<QPlainTextEdit>("Text1"), text);
  }
  QString expectedListing(const std::u16string& text, const ByteLayout& layout) {
    return withoutCarriageReturns(QString::fromStdU16String(runExtraction(text, layout, m_fonts).resultText()));
  }

  test::TempDir m_fontDir;
  FontPaths m_fonts;
  std::unique_ptr<Form1> m_window;
  std::vector<Message> m_messages;
};

void Form1Test::init() { openWindow(m_fonts); }

void Form1Test::openWindow(const FontPaths& fonts) {
  m_messages.clear();
  m_window = std::make_unique<Form1>(fonts);
  m_window->messages().recordInstead([this](const Message& message) { m_messages.push_back(message); });
  m_window->show();
  QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void Form1Test::cleanup() { m_window.reset(); }

void Form1Test::controls_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("container");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QRect>("geometry");

  struct Row {
    const char* name;
    const char* kind;
    const char* container;
    const char16_t* caption;
    int left, top, width, height;  // twips
  };
  const Row rows[] = {
      {"Label2", "QLabel", "Form1", u"文字输入区：", 240, 120, 1215, 255},
      {"Text1", "QPlainTextEdit", "Form1", u"", 120, 360, 6375, 1335},
      {"Label10", "QLabel", "Form1", u"取模结果：", 240, 1800, 975, 255},
      {"Text2", "QPlainTextEdit", "Form1", u"", 120, 2040, 6375, 4455},
      {"Frame1", "QGroupBox", "Form1", u"设置", 6600, 240, 1935, 3855},
      {"Check1", "QCheckBox", "Frame1", u"字节倒序", 120, 240, 1455, 255},
      {"Check2", "QCheckBox", "Frame1", u"8*16格式", 120, 600, 1215, 255},
      {"Check3", "QCheckBox", "Frame1", u"取模并发送", 120, 960, 1455, 255},
      {"Label1", "QLabel", "Frame1", u"显示速度", 120, 1320, 735, 255},
      {"Combo7", "QComboBox", "Frame1", u"5", 960, 1320, 855, 300},
      {"Label9", "QLabel", "Frame1", u"串口", 120, 1680, 495, 255},
      {"Label5", "QLabel", "Frame1", u"波特率", 120, 2040, 615, 255},
      {"Label6", "QLabel", "Frame1", u"校验位", 120, 2400, 615, 255},
      {"Label8", "QLabel", "Frame1", u"数据位", 120, 2760, 615, 255},
      {"Label7", "QLabel", "Frame1", u"停止位", 120, 3120, 615, 255},
      {"Label4", "QLabel", "Frame1", u"显示方式", 120, 3480, 855, 255},
      {"Combo5", "QComboBox", "Form1", u"com1", 7560, 1920, 855, 300},
      {"Combo1", "QComboBox", "Form1", u"9600", 7560, 2280, 855, 300},
      {"Combo2", "QComboBox", "Form1", u"E", 7560, 2640, 855, 300},
      {"Combo3", "QComboBox", "Form1", u"8", 7560, 3000, 855, 300},
      {"Combo4", "QComboBox", "Form1", u"1", 7560, 3360, 855, 300},
      {"Combo6", "QComboBox", "Form1", u"静止", 7560, 3720, 855, 300},
      {"Command1", "QPushButton", "Form1", u"取模", 6600, 4200, 1935, 375},
      {"Command2", "QPushButton", "Form1", u"重新输入", 6600, 4680, 1935, 375},
      {"Command3", "QPushButton", "Form1", u"启动时间显示", 6600, 5160, 1935, 375},
      {"Command4", "QPushButton", "Form1", u"关于", 6600, 5640, 1935, 375},
      {"Command5", "QPushButton", "Form1", u"使用说明", 6600, 6120, 1935, 375},
  };
  for (const Row& row : rows) {
    QTest::newRow(row.name) << QString::fromLatin1(row.kind) << QString::fromLatin1(row.container)
                            << QString::fromUtf16(row.caption)
                            << test::fromTwips(row.left, row.top, row.width, row.height);
  }
}

void Form1Test::controls() {
  QFETCH(QString, kind);
  QFETCH(QString, container);
  QFETCH(QString, caption);
  QFETCH(QRect, geometry);
  const QWidget* widget = control<QWidget>(QTest::currentDataTag());
  QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
  QCOMPARE(widget->parentWidget()->objectName(), container);
  QCOMPARE(test::captionOf(*widget), caption);
  QCOMPARE(widget->geometry(), geometry);
  QVERIFY(widget->isVisible());
  QVERIFY2(test::captionFits(*widget), "the caption is clipped");
  if (auto* groupBox = qobject_cast<QGroupBox*>(widget->parentWidget())) {
    QVERIFY2(!drawsInto(*groupBox, geometry), "the group box's title or frame runs under it");
  }
}

void Form1Test::dropDownLists_data() {
  QTest::addColumn<QStringList>("items");
  QStringList ports;
  for (int n = 1; n <= 16; ++n) ports << QStringLiteral("com%1").arg(n);
  QStringList speeds;
  for (int n = 1; n <= 10; ++n) speeds << QString::number(n);
  QTest::newRow("Combo5") << ports;
  QTest::newRow("Combo1") << QStringList{"110",   "300",   "600",   "1200",  "2400",   "4800",  "9600",  "14400",
                                         "19200", "28800", "38400", "56000", "57600", "115200", "12800", "25600"};
  QTest::newRow("Combo2") << QStringList{"E", "M", "N", "O", "S"};
  QTest::newRow("Combo3") << QStringList{"4", "5", "6", "7", "8"};
  QTest::newRow("Combo4") << QStringList{"1", "1.5", "2"};
  QTest::newRow("Combo6") << QStringList{u"静止"_qs, u"左移"_qs, u"右移"_qs, u"上移"_qs, u"下移"_qs, u"闪烁"_qs};
  QTest::newRow("Combo7") << speeds;
}

void Form1Test::dropDownLists() {
  QFETCH(QStringList, items);
  auto* box = control<QComboBox>(QTest::currentDataTag());
  QStringList actual;
  for (int i = 0; i < box->count(); ++i) actual << box->itemText(i);
  QCOMPARE(actual, items);
  QVERIFY(box->isEditable());
  QCOMPARE(box->currentIndex(), -1);  // the start text shows, no entry is selected

  // Any text can be typed, and is neither completed nor added to the list.
  control<QCheckBox>("Check3")->click();
  box->lineEdit()->clear();
  QTest::keyClicks(box->lineEdit(), QStringLiteral("1"));
  QTest::keyClick(box->lineEdit(), Qt::Key_Return);
  QCOMPARE(box->currentText(), QStringLiteral("1"));
  QCOMPARE(box->count(), items.size());
}

void Form1Test::labelColours_data() {
  QTest::addColumn<QColor>("colour");
  QTest::newRow("Label2") << QColor(255, 0, 15);
  QTest::newRow("Label10") << QColor(255, 15, 143);
}

void Form1Test::labelColours() {
  QFETCH(QColor, colour);
  QCOMPARE(control<QLabel>(QTest::currentDataTag())->palette().color(QPalette::WindowText), colour);
}

void Form1Test::windowFrame() {
  QVERIFY(m_window->windowTitle().startsWith(QStringLiteral("Lumadot V" LUMADOT_VERSION)));
  QVERIFY(m_window->windowTitle().size() > QStringLiteral("Lumadot V" LUMADOT_VERSION).size());  // and the credit
  QCOMPARE(m_window->size(), QSize(575, 443));
  QCOMPARE(m_window->minimumSize(), m_window->size());
  QCOMPARE(m_window->maximumSize(), m_window->size());
  const Qt::WindowFlags flags = m_window->windowFlags();
  QVERIFY(flags & Qt::WindowCloseButtonHint);
  QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
  QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));

  const QImage icon(QStringLiteral(":/lumadot/lumadot.xpm"));
  QCOMPARE(icon.size(), QSize(32, 32));
  QCOMPARE(icon.format(), QImage::Format_Indexed8);
  QVERIFY(icon.colorCount() <= 256);
  QVERIFY(!m_window->windowIcon().isNull());
}

void Form1Test::inputBoxFont() {
  const QFont font = control<QPlainTextEdit>("Text1")->font();
  QCOMPARE(font.family(), QStringLiteral("宋体"));
  QCOMPARE(font.pointSizeF(), 15.75);
  QCOMPARE(font.weight(), QFont::Normal);
  // Whatever face stands in for it here must draw Chinese, not boxes.
  QVERIFY(QFontMetrics(font).inFontUcs4(0x4E2D));  // 中
  QVERIFY(QFontMetrics(font).inFontUcs4(0x9F98));  // 龘, outside the common set
}

void Form1Test::tabOrder() {
  control<QCheckBox>("Check3")->click();  // disabled boxes take no focus
  const QStringList expected{"Command1", "Text1",  "Command2", "Check1", "Check2",   "Combo1",
                             "Combo2",   "Combo4", "Combo3",   "Combo5", "Combo6",   "Combo7",
                             "Command3", "Text2",  "Command4", "Check3", "Command5"};
  QCOMPARE(test::tabOrder(*m_window, QStringLiteral("Command1")), expected);
}

void Form1Test::startUpState() {
  QCOMPARE(QApplication::focusWidget(), control<QWidget>("Command1"));
  QVERIFY(control<QPushButton>("Command1")->isDefault());
  QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("取模"));
  for (const char* name : {"Check1", "Check2", "Check3"}) {
    QCOMPARE(control<QCheckBox>(name)->checkState(), Qt::Unchecked);
  }
  for (const char* name : {"Combo1", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6", "Combo7"}) {
    QVERIFY2(!control<QComboBox>(name)->isEnabled(), name);
  }
  for (const char* name : {"Text1", "Text2", "Check1", "Check3", "Command2", "Command5"}) {
    QVERIFY2(control<QWidget>(name)->isEnabled(), name);
  }
}

void Form1Test::check3TogglesSendingAndKeepsBoxTexts() {
  const char* boxes[] = {"Combo1", "Combo2", "Combo3", "Combo4", "Combo5", "Combo6", "Combo7"};
  auto* check3 = control<QCheckBox>("Check3");

  QTest::mouseClick(check3, Qt::LeftButton);
  QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("取模并发送"));
  for (const char* name : boxes) {
    auto* box = control<QComboBox>(name);
    QVERIFY2(box->isEnabled(), name);
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), QStringLiteral("x-") + QString::fromLatin1(name));
  }

  QTest::mouseClick(check3, Qt::LeftButton);
  QCOMPARE(control<QPushButton>("Command1")->text(), QStringLiteral("取模"));
  for (const char* name : boxes) {
    QVERIFY2(!control<QComboBox>(name)->isEnabled(), name);
    QCOMPARE(control<QComboBox>(name)->currentText(), QStringLiteral("x-") + QString::fromLatin1(name));
  }
}

void Form1Test::command2ClearsOnlyTheInput() {
  typeIntoInput(QStringLiteral("中A"));
  QTest::keyClick(control<QPlainTextEdit>("Text1"), Qt::Key_Return);
  const QString listing = control<QPlainTextEdit>("Text2")->toPlainText();
  QVERIFY(!listing.isEmpty());

  QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(control<QPlainTextEdit>("Text1")->toPlainText(), QString());
  QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), listing);
  QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);  // already empty
  QCOMPARE(control<QPlainTextEdit>("Text1")->toPlainText(), QString());
  QVERIFY(m_messages.empty());
}

void Form1Test::enterRunsAndCtrlEnterBreaksTheLine() {
  auto* input = control<QPlainTextEdit>("Text1");
  typeIntoInput(QStringLiteral("A"));
  QTest::keyClick(input, Qt::Key_Return, Qt::ControlModifier);
  test::typeText(input, QStringLiteral("中"));
  QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), QString());  // no run yet

  QTest::keyClick(input, Qt::Key_Enter, Qt::KeypadModifier);
  QCOMPARE(input->toPlainText(), QStringLiteral("A\n中"));
  // The line break reaches the run as CR LF, which contributes no glyph.
  QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), expectedListing(u"A\r\n中", {}));
  QVERIFY(m_messages.empty());
}

void Form1Test::enterElsewhere_data() {
  QTest::addColumn<bool>("runs");
  QTest::newRow("Check1") << true;
  QTest::newRow("Combo5") << true;
  QTest::newRow("Text2") << true;
  QTest::newRow("Command1") << true;
  QTest::newRow("Command2") << false;  // presses 重新输入 instead
  QTest::newRow("Command4") << false;  // opens the About window instead
}

void Form1Test::enterElsewhere() {
  QFETCH(bool, runs);
  control<QCheckBox>("Check3")->click();  // enables the boxes; sending then fails with a warning
  control<QCheckBox>("Check3")->click();
  typeIntoInput(QStringLiteral("A"));
  QWidget* target = control<QWidget>(QTest::currentDataTag());
  target->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText().isEmpty(), !runs);
}

void Form1Test::escapeKeepsTheWindowOpen() {
  QTest::keyClick(control<QPushButton>("Command1"), Qt::Key_Escape);
  QVERIFY(m_window->isVisible());
}

void Form1Test::runMatchesTheCore_data() {
  QTest::addColumn<bool>("reverse");
  QTest::addColumn<bool>("split");
  QTest::newRow("plain") << false << false;
  QTest::newRow("字节倒序") << true << false;
  QTest::newRow("8*16格式") << false << true;
  QTest::newRow("both") << true << true;
}

void Form1Test::runMatchesTheCore() {
  QFETCH(bool, reverse);
  QFETCH(bool, split);
  if (reverse) control<QCheckBox>("Check1")->click();
  if (split) control<QCheckBox>("Check2")->click();
  // Pasted: Tab moves the focus rather than typing a tab.
  control<QPlainTextEdit>("Text1")->insertPlainText(QStringLiteral("中A 1\t汉"));
  QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
  const QString expected = expectedListing(u"中A 1\t汉", windowLayout(reverse, split));
  QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), expected);
  // Each option changes the bytes, so a swapped option cannot pass.
  if (reverse != split) QVERIFY(expected != expectedListing(u"中A 1\t汉", windowLayout(split, reverse)));
  QCOMPARE(control<QPlainTextEdit>("Text1")->toPlainText(), QStringLiteral("中A 1\t汉"));
}

// The window and lumadot-cli give the same listing, on the fonts the build made.
void Form1Test::runMatchesTheCommandLine() {
  openWindow(FontPaths::inDirectory(LUMADOT_BIN_DIR));
  typeIntoInput(QStringLiteral("中A"));
  QTest::keyClick(control<QPlainTextEdit>("Text1"), Qt::Key_Return);

  const auto cli = test::runProcess(LUMADOT_CLI_PATH, {"extract", "中A"});
  QCOMPARE(cli.exitCode, 0);
  QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), withoutCarriageReturns(QString::fromStdString(cli.out)));
  QVERIFY(cli.out.find("DB  1H,0H,1H,0H,") != std::string::npos);
}

void Form1Test::missingFontWarnsAndKeepsTheText() {
  const test::TempDir empty;
  openWindow(FontPaths::inDirectory(empty.path()));
  typeIntoInput(QStringLiteral("中A"));
  QTest::keyClick(control<QPlainTextEdit>("Text1"), Qt::Key_Return);

  QCOMPARE(m_messages.size(), size_t{1});
  QCOMPARE(QString::fromStdString(m_messages[0].title), QStringLiteral("警告"));
  QCOMPARE(QString::fromStdString(m_messages[0].text),
           QStringLiteral("无法打开字库文件“%1”：文件不存在")
               .arg(QString::fromStdU16String((empty.path() / "hzk16").u16string())));
  QCOMPARE(m_messages[0].icon, MessageIcon::warning);
  QCOMPARE(control<QPlainTextEdit>("Text1")->toPlainText(), QStringLiteral("中A"));
  QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), QString());
  QVERIFY(std::filesystem::is_empty(empty.path()));
}

// 2,048 Chinese characters fill the buffer exactly and give a quarter of a
// million characters of listing; one character more is refused, text kept.
void Form1Test::fullBufferAndOneMore() {
  auto* input = control<QPlainTextEdit>("Text1");
  auto* result = control<QPlainTextEdit>("Text2");
  const QString full(2048, QChar(u'中'));
  input->setPlainText(full);
  QElapsedTimer timer;
  timer.start();
  QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
  qInfo("a full run through the window took %lld ms", static_cast<long long>(timer.elapsed()));
  QVERIFY(m_messages.empty());
  QVERIFY(result->toPlainText().size() > 250'000);
  QCOMPARE(result->toPlainText(), expectedListing(full.toStdU16String(), {}));

  input->setPlainText(full + u'A');
  QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
  QCOMPARE(m_messages.size(), size_t{1});
  QCOMPARE(QString::fromStdString(m_messages[0].text),
           QStringLiteral("文字太长：一次最多能取模4096个单字节字符或2048个双字节字符"));
  QCOMPARE(input->toPlainText(), full + u'A');
  QCOMPARE(result->toPlainText(), QString());
}

void Form1Test::secondaryWindows_data() {
  QTest::addColumn<QString>("title");
  QTest::newRow("Command4") << QStringLiteral("Lumadot");
  QTest::newRow("Command5") << QStringLiteral("Lumadot-------使用说明");
}

// Opening disables the main window; "确定" enables it before the window
// closes and is destroyed; the next click makes a new window.
void Form1Test::secondaryWindows() {
  QFETCH(QString, title);
  const bool about = QTest::currentDataTag() == QByteArrayLiteral("Command4");
  auto opened = [&]() -> QDialog* {
    return about ? static_cast<QDialog*>(m_window->aboutWindow()) : m_window->usageWindow();
  };
  typeIntoInput(QStringLiteral("A"));

  QTest::mouseClick(control<QPushButton>(QTest::currentDataTag()), Qt::LeftButton);
  QPointer<QDialog> first = opened();
  QVERIFY(first);
  QVERIFY(first->isVisible());
  QCOMPARE(first->windowTitle(), title);
  QVERIFY(!m_window->isEnabled());
  QVERIFY(m_window->isVisible());

  // The main window ignores the user meanwhile.
  QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
  QCOMPARE(control<QPlainTextEdit>("Text1")->toPlainText(), QStringLiteral("A"));

  bool enabledWhenClosing = false;
  struct CloseWatch : QObject {
    Form1* window;
    bool* seen;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Close) *seen = window->isEnabled();
      return false;
    }
  } watch;
  watch.window = m_window.get();
  watch.seen = &enabledWhenClosing;
  first->installEventFilter(&watch);
  QTest::mouseClick(first->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  QVERIFY(enabledWhenClosing);
  QVERIFY(m_window->isEnabled());
  QTRY_VERIFY(!first);  // destroyed, not hidden
  QVERIFY(!opened());

  QTest::mouseClick(control<QPushButton>(QTest::currentDataTag()), Qt::LeftButton);
  QVERIFY(opened());
  QVERIFY(!m_window->isEnabled());
  QTest::mouseClick(opened()->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  QVERIFY(m_window->isEnabled());
}

void Form1Test::secondaryWindowClosedByCloseBox_data() {
  QTest::addColumn<int>("key");
  QTest::newRow("close box") << 0;
  QTest::newRow("Escape") << int(Qt::Key_Escape);
}

void Form1Test::secondaryWindowClosedByCloseBox() {
  QFETCH(int, key);
  QTest::mouseClick(control<QPushButton>("Command4"), Qt::LeftButton);
  QPointer<Form2> about = m_window->aboutWindow();
  QVERIFY(about);
  if (key) {
    QTest::keyClick(about.data(), Qt::Key(key));
  } else {
    about->close();
  }
  QVERIFY(m_window->isEnabled());
  QTRY_VERIFY(!about);
}

void Form1Test::closingTheMainWindowClosesTheOthers() {
  QTest::mouseClick(control<QPushButton>("Command5"), Qt::LeftButton);
  QPointer<Form3> usage = m_window->usageWindow();
  QVERIFY(usage && usage->isVisible());
  m_window->close();
  QTRY_VERIFY(!usage);
}

#ifndef _WIN32
// As a user does it: com1 is a pseudo-terminal, "取模并发送" is checked, Enter.
void Form1Test::sendsTheFrameThroughThePort() {
  test::PseudoTerminal sign;
  ::setenv("LUMADOT_COM1", sign.path().c_str(), 1);
  openWindow(m_fonts);
  QTest::mouseClick(control<QCheckBox>("Check3"), Qt::LeftButton, {}, QPoint(5, 5));
  QVERIFY(control<QComboBox>("Combo5")->toolTip().contains(
      QStringLiteral("com1 → %1（LUMADOT_COM1）").arg(QString::fromStdString(sign.path()))));
  QVERIFY(control<QComboBox>("Combo5")->toolTip().endsWith(QStringLiteral("也可直接输入设备路径，如 /dev/ttyUSB0")));
  typeIntoInput(QStringLiteral("中A"));
  QTest::keyClick(control<QPlainTextEdit>("Text1"), Qt::Key_Return);

  QCOMPARE(m_messages.size(), size_t{1});
  QCOMPARE(m_messages[0], (Message{"系统提示", "使用串口com1共发送0.04K数据发送成功", MessageIcon::none}));
  QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), expectedListing(u"中A", {}));
  const auto frame = sign.receivedAll();
  QCOMPARE(frame.size(), size_t{593});
  QCOMPARE(frame[0], std::uint8_t{10});
  QCOMPARE(std::vector<std::uint8_t>(frame.begin() + 256, frame.begin() + 304),
           runExtraction(u"中A", {}, m_fonts).glyphs.bytes);

  // A device typed by its path into the port box is opened as it stands.
  test::PseudoTerminal typed;
  control<QComboBox>("Combo5")->setEditText(QString::fromStdString(typed.path()));
  m_messages.clear();
  control<QPushButton>("Command1")->click();
  QCOMPARE(m_messages.size(), size_t{1});
  QCOMPARE(m_messages[0].text, "使用串口" + typed.path() + "共发送0.04K数据发送成功");
  QCOMPARE(typed.receivedAll(), frame);
}

// A line that takes nothing for a while: after a second a modal progress
// dialog shows the bytes sent, and a run asked for meanwhile does not start.
void Form1Test::longSendShowsProgressAndBlocksOtherRuns() {
  openWindow(m_fonts);
  control<QCheckBox>("Check3")->click();
  control<QPlainTextEdit>("Text1")->setPlainText(QString(200, QChar(u'中')));
  // The line's stop counts from here, so the window is ready to send before it starts; the port is read at the send.
  test::PseudoTerminal sign({.outputStoppedFor = std::chrono::milliseconds(1600)});
  ::setenv("LUMADOT_COM1", sign.path().c_str(), 1);

  QString label;
  bool modal = false;
  QTimer poll;
  whenModal<QProgressDialog>(poll, [&](QProgressDialog* dialog) {
    label = dialog->labelText();
    modal = dialog->isModal();
    control<QPushButton>("Command1")->click();  // as a clock tick would
  });
  control<QPushButton>("Command1")->click();

  QVERIFY2(label.startsWith(QStringLiteral("正在通过串口com1发送：")), qPrintable(label));
  QVERIFY(label.endsWith(QStringLiteral(" / 6945 字节")));
  QVERIFY(modal);
  QCOMPARE(m_messages.size(), size_t{1});  // one run, one success message
  QCOMPARE(QString::fromStdString(m_messages[0].title), QStringLiteral("系统提示"));
  QCOMPARE(sign.receivedAll().size(), size_t{6945});
  QVERIFY(!qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()));
}

void Form1Test::refusedSendWarnsAndKeepsTheResultBoxEmpty_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("warning");
  QTest::addColumn<QString>("reason");  // how the box's details start: Chinese, as the window
  QTest::newRow("port held by another program") << QString() << QString() << QStringLiteral("串口com1打开失败，可能正在使用中")
                                                << QStringLiteral("com1 (/dev/pts/");
  QTest::newRow("port not in the list") << QStringLiteral("Combo5") << QStringLiteral("COM1")
                                        << QStringLiteral("串口COM1打开失败，可能正在使用中")
                                        << QStringLiteral("“COM1”不是串口名：串口名为 com1 到 com16（小写）");
  QTest::newRow("port a missing device path") << QStringLiteral("Combo5") << QStringLiteral("/nonexistent/ttyX")
                                              << QStringLiteral("串口/nonexistent/ttyX打开失败，可能正在使用中")
                                              << QStringLiteral("/nonexistent/ttyX：文件或设备不存在");
  QTest::newRow("port a relative path") << QStringLiteral("Combo5") << QStringLiteral("ttyUSB0")
                                        << QStringLiteral("串口ttyUSB0打开失败，可能正在使用中")
                                        << QStringLiteral("“ttyUSB0”不是串口名");
  QTest::newRow("parity not in the list") << QStringLiteral("Combo2") << QStringLiteral("X")
                                          << QStringLiteral("串口com1打开失败，可能正在使用中")
                                          << QStringLiteral("校验位“X”无效：应是 E、M、N、O、S 之一");
  QTest::newRow("speed not in the list") << QStringLiteral("Combo7") << QStringLiteral("0")
                                         << QStringLiteral("显示速度“0”无效") << QString();
  QTest::newRow("mode not in the list") << QStringLiteral("Combo6") << QStringLiteral("静")
                                        << QStringLiteral("显示方式“静”无效") << QString();
}

void Form1Test::refusedSendWarnsAndKeepsTheResultBoxEmpty() {
  QFETCH(QString, box);
  QFETCH(QString, text);
  QFETCH(QString, warning);
  QFETCH(QString, reason);
  test::PseudoTerminal sign;
  ::setenv("LUMADOT_COM1", sign.path().c_str(), 1);
  SystemSerialDevice holder;
  if (box.isEmpty()) QVERIFY(holder.open());
  openWindow(m_fonts);
  control<QCheckBox>("Check3")->click();
  if (!box.isEmpty()) control<QComboBox>(box.toLatin1().constData())->setEditText(text);
  typeIntoInput(QStringLiteral("中A"));
  control<QPushButton>("Command1")->click();

  QCOMPARE(m_messages.size(), size_t{1});
  QCOMPARE(m_messages[0].title, std::string("警告"));
  QCOMPARE(m_messages[0].text, warning.toStdString());
  QCOMPARE(m_messages[0].icon, MessageIcon::warning);
  QVERIFY2(QString::fromStdString(m_messages[0].detail).startsWith(reason), m_messages[0].detail.c_str());
  QCOMPARE(m_messages[0].detail.empty(), reason.isEmpty());
  QCOMPARE(control<QPlainTextEdit>("Text2")->toPlainText(), QString());
  QCOMPARE(control<QPlainTextEdit>("Text1")->toPlainText(), QStringLiteral("中A"));
  QVERIFY(sign.receivedAll().empty());
}
#endif

// The real box, as the user meets it: the warning as it always was, and the
// reason one click away, behind a button captioned in Chinese.
void Form1Test::warningBoxKeepsTheReasonBehindAChineseDetailsButton() {
  m_window->messages().recordInstead({});
  control<QCheckBox>("Check3")->click();
  control<QComboBox>("Combo5")->setEditText(kNoPortName);
  typeIntoInput(QStringLiteral("中A"));

  QString text, details;
  QStringList before, after;
  QTimer poll;
  whenModal<QMessageBox>(poll, [&](QMessageBox* box) {
    text = box->text();
    details = box->detailedText();
    QAbstractButton* detailsButton = nullptr;
    for (QAbstractButton* button : box->buttons()) {
      before << button->text();
      if (box->buttonRole(button) == QMessageBox::ActionRole) detailsButton = button;
    }
    if (detailsButton) detailsButton->click();
    for (QAbstractButton* button : box->buttons()) after << button->text();
    box->button(QMessageBox::Ok)->click();
  });
  control<QPushButton>("Command1")->click();

  QTRY_COMPARE(text, QStringLiteral("串口%1打开失败，可能正在使用中").arg(kNoPortName));
  QVERIFY2(details.startsWith(QStringLiteral("“%1”不是串口名").arg(kNoPortName)), qPrintable(details));
  before.sort();
  after.sort();
  QCOMPARE(before, (QStringList{QStringLiteral("显示详细信息…"), QStringLiteral("确定")}));
  QCOMPARE(after, (QStringList{QStringLiteral("确定"), QStringLiteral("隐藏详细信息…")}));
}

void Form1Test::workbenchArguments_data() {
  QTest::addColumn<bool>("reverse");
  QTest::addColumn<bool>("split");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("arguments");
  QTest::newRow("neither") << false << false << "中A" << QStringList{"--scan", "rows", "--", "中A"};
  QTest::newRow("字节倒序") << true << false << "中A" << QStringList{"--scan", "rows", "--lsb-first", "--", "中A"};
  QTest::newRow("8*16格式") << false << true << "中A" << QStringList{"--scan", "row-bands", "--", "中A"};
  QTest::newRow("both") << true << true << "中A" << QStringList{"--scan", "row-bands", "--lsb-first", "--", "中A"};
  QTest::newRow("text like an option")
      << false << false << "--help\n-x" << QStringList{"--scan", "rows", "--", "--help\n-x"};
}

void Form1Test::workbenchArguments() {
  QFETCH(bool, reverse);
  QFETCH(bool, split);
  QFETCH(QString, text);
  QFETCH(QStringList, arguments);
  QCOMPARE(lumadot::workbenchArguments(text, reverse, split), arguments);
}

void Form1Test::resultBoxMenuOpensTheWorkbench_data() {
  QTest::addColumn<bool>("onPath");
  QTest::newRow("on PATH") << true;
  QTest::newRow("nowhere") << false;
}

// The result box's own menu with our item last; chosen, it starts a real program with the window's boxes.
void Form1Test::resultBoxMenuOpensTheWorkbench() {
  QFETCH(bool, onPath);
  const test::TempDir bin;
  const QString heard = QString::fromStdU16String((bin.path() / "arguments").u16string());
  qputenv("ECHO_TO", heard.toUtf8());
  if (onPath) {
    const std::filesystem::path echo(LUMADOT_ECHO_CHILD_PATH);
    std::filesystem::copy_file(echo, (bin.path() / "lumadot-workbench").replace_extension(echo.extension()));
  }
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(bin.path().string()) +
                      (onPath ? QDir::listSeparator().toLatin1() + path : QByteArray()));
  control<QCheckBox>("Check1")->setChecked(true);
  control<QPlainTextEdit>("Text1")->setPlainText(QStringLiteral("-中A"));
  QStringList items;
  QTimer::singleShot(0, this, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (const QAction* action : menu->actions()) items << (action->isSeparator() ? "|" : action->text());
    menu->actions().last()->trigger();
    menu->close();
  });
  auto* viewport = control<QPlainTextEdit>("Text2")->viewport();
  QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10), viewport->mapToGlobal(QPoint(10, 10)));
  QApplication::sendEvent(viewport, &click);
  qputenv("PATH", path);
  qunsetenv("ECHO_TO");

  QStringList standard;
  const std::unique_ptr<QMenu> own(control<QPlainTextEdit>("Text2")->createStandardContextMenu());
  for (const QAction* action : own->actions()) standard << (action->isSeparator() ? "|" : action->text());
  QCOMPARE(items, (standard + QStringList{"|", "在取模工作台中打开"}));
  if (onPath) {
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(heard), 5000);
    QFile file(heard);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("[--scan]\n[rows]\n[--lsb-first]\n[--]\n[-中A]\n"));
    QVERIFY(m_messages.empty());
  } else {
    QCOMPARE(m_messages.size(), size_t{1});
    QCOMPARE(QString::fromStdString(m_messages[0].text), QStringLiteral("无法启动取模工作台"));
#ifdef _WIN32
    const QString program = QStringLiteral("lumadot-workbench.exe");
#else
    const QString program = QStringLiteral("lumadot-workbench");
#endif
    QCOMPARE(QString::fromStdString(m_messages[0].detail), program + QStringLiteral("：文件或设备不存在"));
  }
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
