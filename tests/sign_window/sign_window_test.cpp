// The sign window at the far end of a real serial line: two pseudo-terminals
// joined by socat, lumadot-cli sending on one, the window listening on the other.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>

#include "app/form1.h"
#include "sign/sign_player.h"
#include "sign_window/led_panel.h"
#include "sign_window/sign_window.h"
#include "support/process.h"
#ifndef _WIN32
#include "support/serial_line.h"
#endif
#include "widgets/translation.h"

using namespace lumadot;
#ifndef _WIN32
using test::SerialLine;
#endif

#ifndef _WIN32
namespace {

QByteArray head(char width, char speed, char mode) {
  const char bytes[] = {width, speed, mode};
  return QByteArray(bytes, sizeof bytes);
}

// A frame as a sender makes it: width, speed, mode, lead-in, display bytes, tail.
QByteArray frameBytes(char width, char speed, char mode, const QByteArray& display) {
  return head(width, speed, mode) + QByteArray(253, '\0') + display + QByteArray(289, '\0');
}

// lumadot-cli preview's picture, read back from its # and . rows.
DotPicture previewPicture(const QString& text) {
  const auto preview = test::runProcess(LUMADOT_CLI_PATH, {"preview", "--ascii", "--width", "0", "--reverse",
                                                           "--split", text.toStdString()});
  std::vector<std::uint16_t> columns;
  std::istringstream rows(preview.out);
  std::string row;
  for (int y = 0; std::getline(rows, row) && y < DotPicture::kSignHeight; ++y) {
    columns.resize(std::max(columns.size(), row.size()));
    for (std::size_t x = 0; x < row.size(); ++x) {
      if (row[x] == '#') columns[x] = static_cast<std::uint16_t>(columns[x] | 1u << y);
    }
  }
  return DotPicture(std::move(columns));
}

// The panel column where the whole message stands, every other dot dark; nothing when it does not.
std::optional<int> placeOnPanel(const DotPicture& panel, const DotPicture& message) {
  for (int at = 0; at + message.width() <= panel.width(); ++at) {
    bool same = true;
    for (int x = 0; x < panel.width() && same; ++x) same = panel.column(x) == message.column(x - at);
    if (same) return at;
  }
  return std::nullopt;
}

// A sign plays it, warning of bytes 103 (0x0A), 200 and 201 in the lead-in, and of ten tail bytes only.
QByteArray leadInAndShortTail(const QByteArray& display) {
  QByteArray frame = frameBytes(9, 5, 0, display).left(256 + display.size()) + QByteArray(10, '\0');
  frame[103] = '\x0A';
  frame[200] = frame[201] = '\x01';
  return frame;
}

DotPicture leftColumnsLit(int count, int width = kDefaultPanelColumns) {
  std::vector<std::uint16_t> columns(static_cast<std::size_t>(width));
  std::fill_n(columns.begin(), count, std::uint16_t{0xFFFF});
  return DotPicture(std::move(columns));
}

}  // namespace
#endif

namespace lumadot {
// What a failed comparison prints: runs of equal columns, "0-15:ffff 16-127:0".
char* toString(const DotPicture& picture) {
  QStringList runs;
  for (int x = 0, end = 0; x < picture.width(); x = end) {
    while (end < picture.width() && picture.column(end) == picture.column(x)) ++end;
    runs << QStringLiteral("%1-%2:%3").arg(x).arg(end - 1).arg(picture.column(x), 0, 16);
  }
  return qstrdup(qPrintable(runs.join(u' ')));
}
}  // namespace lumadot

Q_DECLARE_METATYPE(lumadot::DotPicture)

class SignWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void boxesAreTheMainWindows_data();
  void boxesAreTheMainWindows();
#ifndef _WIN32
  // Pseudo-terminals are POSIX; under wine, scripts/windows_window_test.sh sends through COM ports.
  void playsWhatTheCommandLineSends_data();
  void playsWhatTheCommandLineSends();
  void listsWhatComesOnTheLine_data();
  void listsWhatComesOnTheLine();
  void vanishingPortStopsListening();
  void playsOnTheChainsWidth_data();
  void playsOnTheChainsWidth();
#endif
  void refusedStartStaysStopped_data();
  void refusedStartStaysStopped();
  void speaksItsTranslationsLanguage_data();
  void speaksItsTranslationsLanguage();

 private:
  template <typename T>
  T* control(const char* name) const {
    T* widget = m_window->findChild<T*>(QString::fromLatin1(name));
    if (!widget) qFatal("no control %s", name);
    return widget;
  }
  QStringList listed() const {
    QStringList lines;
    const auto* list = control<QListWidget>("frameList");
    for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
    return lines;
  }
  QString caption() const { return control<QPushButton>("listenButton")->text(); }
  const DotPicture& panel() const { return control<LedPanel>("ledPanel")->picture(); }
#ifndef _WIN32
  void listenOn(const SerialLine& line) {
    qputenv("LUMADOT_COM1", QByteArray::fromStdString(line.sign()));
    control<QComboBox>("portBox")->setEditText(QStringLiteral("com1"));
    control<QPushButton>("listenButton")->click();
  }
#endif

  void openWindow(SignListener::Clock now = {});
  // What the read timer does when its interval is up.
  void readTick() const { QVERIFY(QMetaObject::invokeMethod(control<QTimer>("readTimer"), "timeout")); }

  test::TempDir m_dir;
  std::unique_ptr<SignWindow> m_window;
  std::vector<Message> m_messages;
};

void SignWindowTest::init() {
  m_messages.clear();
  openWindow();
}

void SignWindowTest::openWindow(SignListener::Clock now) {
  m_window = std::make_unique<SignWindow>(nullptr, std::move(now));
  m_window->messages().recordInstead([this](const Message& message) { m_messages.push_back(message); });
  m_window->show();
  QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void SignWindowTest::cleanup() {
  m_window.reset();
  qunsetenv("LUMADOT_COM1");
}

void SignWindowTest::boxesAreTheMainWindows_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("label");
  QTest::addColumn<QString>("mainBox");
  QTest::addColumn<QString>("mainLabel");
  QTest::newRow("port") << "portBox" << "portLabel" << "Combo5" << "Label9";
  QTest::newRow("baud") << "baudBox" << "baudLabel" << "Combo1" << "Label5";
  QTest::newRow("parity") << "parityBox" << "parityLabel" << "Combo2" << "Label6";
  QTest::newRow("data bits") << "dataBitsBox" << "dataBitsLabel" << "Combo3" << "Label8";
  QTest::newRow("stop bits") << "stopBitsBox" << "stopBitsLabel" << "Combo4" << "Label7";
}

// Same items, start text and caption: a setting copied from one window works in the other.
void SignWindowTest::boxesAreTheMainWindows() {
  QFETCH(QString, box);
  QFETCH(QString, label);
  QFETCH(QString, mainBox);
  QFETCH(QString, mainLabel);
  const Form1 main(FontPaths::inDirectory(m_dir.path()));
  const auto items = [](const QComboBox* combo) {
    QStringList texts{combo->currentText()};
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
  };
  const auto* ours = m_window->findChild<QComboBox*>(box);
  const auto* theirs = main.findChild<QComboBox*>(mainBox);
  QVERIFY(ours && theirs);
  QCOMPARE(items(ours), items(theirs));
  QVERIFY(ours->isEditable() && ours->isEnabled());
  QCOMPARE(m_window->findChild<QLabel*>(label)->text(), main.findChild<QLabel*>(mainLabel)->text());
}

#ifndef _WIN32
void SignWindowTest::playsWhatTheCommandLineSends_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("summary");
  QTest::newRow("Chinese") << "中文字" << "第 1 帧：宽度 12，速度 5，模式 1（左移），128 个显示字节";
  QTest::newRow("single-byte") << "ABC" << "第 1 帧：宽度 10，速度 5，模式 1（左移），64 个显示字节";
  QTest::newRow("mixed") << "中A文" << "第 1 帧：宽度 11，速度 5，模式 1（左移），96 个显示字节";
}

void SignWindowTest::playsWhatTheCommandLineSends() {
  QFETCH(QString, text);
  QFETCH(QString, summary);
  SerialLine line;
  listenOn(line);
  QCOMPARE(caption(), QStringLiteral("停止接收"));
  const auto sent = test::runProcess(LUMADOT_CLI_PATH,
                                     {"extract", "--send", "--port", "com1", "--reverse", "--split", "--mode", "左移",
                                      text.toStdString()},
                                     {}, {"LUMADOT_COM1=" + line.pc()});
  QCOMPARE(sent.exitCode, 0);

  QTRY_COMPARE_WITH_TIMEOUT(listed(), QStringList{summary}, 5000);
  QVERIFY(m_window->player());
  const DotPicture expected = previewPicture(text);
  QVERIFY(expected.width() > 0);
  QCOMPARE(placeOnPanel(m_window->player()->message(), expected), std::optional<int>(0));  // the rest pads it, dark
  // Moving left: the whole message comes onto the panel and then stands further left.
  std::optional<int> first;
  QTRY_VERIFY_WITH_TIMEOUT((first = placeOnPanel(panel(), expected)).has_value(), 10000);
  QTRY_VERIFY_WITH_TIMEOUT([&] {
    const auto now = placeOnPanel(panel(), expected);
    return now && *now < *first;
  }(), 2000);
  QVERIFY(m_messages.empty());
}

void SignWindowTest::listsWhatComesOnTheLine_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<bool>("stop");
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<DotPicture>("shown");

  const QByteArray lit(32, '\xFF');
  const QByteArray cutOff = head(10, 5, 1) + QByteArray(100, '\0');
  QTest::newRow("cut off by the line going quiet")
      << cutOff << false << QStringList{"第 1 帧：不完整，收到 103 / 320 字节"} << leftColumnsLit(0);
  QTest::newRow("cut off by stopping")
      << cutOff << true << QStringList{"第 1 帧：不完整，收到 103 / 320 字节"} << leftColumnsLit(0);
  QTest::newRow("speed out of range, played still")
      << frameBytes(9, 0, 0, lit) << false
      << QStringList{"第 1 帧：宽度 9，速度 0，模式 0（静止），32 个显示字节", "  警告：速度 0，不在 1 到 10 之间"}
      << leftColumnsLit(16);
  QTest::newRow("the second frame replaces the first")
      << frameBytes(9, 5, 0, lit) + frameBytes(10, 5, 0, lit + lit) << false
      << QStringList{"第 1 帧：宽度 9，速度 5，模式 0（静止），32 个显示字节",
                     "第 2 帧：宽度 10，速度 5，模式 0（静止），64 个显示字节"}
      << leftColumnsLit(32);
  QTest::newRow("stray lead-in bytes and a short tail, played still")
      << leadInAndShortTail(lit) << false
      << QStringList{"第 1 帧：宽度 9，速度 5，模式 0（静止），32 个显示字节",
                     "  警告：引导段第 103 字节为 0x0A，不是零，另有 2 个也不是",
                     "  警告：结尾只有 10 个零字节，至少应有 257 个"}
      << leftColumnsLit(16);
}

void SignWindowTest::listsWhatComesOnTheLine() {
  QFETCH(QByteArray, bytes);
  QFETCH(bool, stop);
  QFETCH(QStringList, lines);
  QFETCH(DotPicture, shown);
  // The line is quiet for as long as this clock says: it stands still while the bytes come in.
  std::chrono::milliseconds now{0};
  openWindow([&now] { return now; });
  SerialLine line;
  listenOn(line);
  line.send(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  QTRY_COMPARE_WITH_TIMEOUT(m_window->listener().bytesHeard(), static_cast<std::size_t>(bytes.size()), 5000);
  readTick();
  QVERIFY(listed() != lines);  // the last frame waits for the silence after it
  if (stop) {
    control<QPushButton>("listenButton")->click();
    QCOMPARE(listed(), lines);
    QCOMPARE(caption(), QStringLiteral("开始接收"));
  } else {
    now += std::chrono::milliseconds(500);  // half a second is not yet silence
    readTick();
    QVERIFY(listed() != lines);
    now += std::chrono::milliseconds(1);
    readTick();
    QCOMPARE(listed(), lines);
  }
  QCOMPARE(panel(), shown);
}

void SignWindowTest::playsOnTheChainsWidth_data() {
  QTest::addColumn<int>("columns");
  QTest::addColumn<bool>("setWhilePlaying");
  // The panel's pixel columns drawn as seams, 4.25 pixels a dot, and the rows they run down: the LEDs' height.
  QTest::addColumn<QList<int>>("seamPixels");
  QTest::addColumn<int>("seamHeight");
  QTest::newRow("two modules") << 64 << false << QList<int>{271} << 68;
  QTest::newRow("two modules, set while a frame plays") << 64 << true << QList<int>{271} << 68;
  QTest::newRow("the default four") << 128 << false << QList<int>{135, 271, 407} << 68;
  QTest::newRow("eight, 2.125 pixels a dot") << 256 << true << QList<int>{67, 135, 203, 271, 339, 407, 475} << 34;
  QTest::newRow("a plain panel") << 72 << false << QList<int>{} << 0;
  QTest::newRow("one module") << 32 << true << QList<int>{} << 0;
}

// The width box sets the panel the frame plays on, and a line marks where each module meets the next.
void SignWindowTest::playsOnTheChainsWidth() {
  QFETCH(int, columns);
  QFETCH(bool, setWhilePlaying);
  QFETCH(QList<int>, seamPixels);
  QFETCH(int, seamHeight);
  std::chrono::milliseconds now{0};
  openWindow([&now] { return now; });
  auto* width = control<QSpinBox>("columnsBox");
  QCOMPARE(width->value(), kDefaultPanelColumns);
  if (!setWhilePlaying) width->setValue(columns);
  QCOMPARE(panel(), leftColumnsLit(0, m_window->panelColumns()));
  SerialLine line;
  listenOn(line);
  const QByteArray frame = frameBytes(9, 5, 0, QByteArray(32, '\xFF'));
  line.send(std::vector<std::uint8_t>(frame.begin(), frame.end()));
  QTRY_COMPARE_WITH_TIMEOUT(m_window->listener().bytesHeard(), static_cast<std::size_t>(frame.size()), 5000);
  readTick();
  now += std::chrono::milliseconds(501);
  readTick();
  QVERIFY(m_window->player());
  if (setWhilePlaying) width->setValue(columns);
  QCOMPARE(panel(), leftColumnsLit(16, columns));

  const QImage face = control<LedPanel>("ledPanel")->grab().toImage();
  const QRgb seam = qRgb(0x60, 0x60, 0x60);
  QList<int> found;
  for (int x = 0; x < face.width(); ++x) {
    if (face.pixel(x, face.height() / 2) != seam) continue;
    found << x;
    int height = 0;
    for (int y = 0; y < face.height(); ++y) height += face.pixel(x, y) == seam ? 1 : 0;
    QCOMPARE(height, seamHeight);
  }
  QCOMPARE(found, seamPixels);
}
#endif

void SignWindowTest::refusedStartStaysStopped_data() {
  QTest::addColumn<QString>("port");
  QTest::addColumn<QString>("baud");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("reason");
  QTest::newRow("port that cannot be opened") << "com1" << "9600" << "串口com1打开失败" << "文件或设备不存在";
#ifdef _WIN32
  // COM1 names a device on Windows, and devices are named COMn there, not by a path. What
  // the system says of a port that leads nowhere is its own words.
  QTest::newRow("text naming no port") << "ttyUSB0" << "9600" << "串口“ttyUSB0”无效" << "“ttyUSB0”不是串口名";
  QTest::newRow("device that cannot be opened") << "COM200" << "9600" << "串口COM200打开失败" << "COM200：";
#else
  QTest::newRow("text naming no port") << "COM1" << "9600" << "串口“COM1”无效" << "“COM1”不是串口名";
  QTest::newRow("device path that cannot be opened") << "/nonexistent/ttyX" << "9600" << "串口/nonexistent/ttyX打开失败"
                                                     << "/nonexistent/ttyX：文件或设备不存在";
#endif
  QTest::newRow("baud that is no number") << "com1" << "96OO" << "串口设置“96OO,E,8,1”无效"
                                          << "波特率“96OO”无效：应是 1 到 2147483647 的整数";
}

void SignWindowTest::refusedStartStaysStopped() {
  QFETCH(QString, port);
  QFETCH(QString, baud);
  QFETCH(QString, text);
  QFETCH(QString, reason);
  const std::string missing = (m_dir.path() / "no-such-port").string();
  qputenv("LUMADOT_COM1", QByteArray::fromStdString(missing));
  control<QComboBox>("portBox")->setEditText(port);
  control<QComboBox>("baudBox")->setEditText(baud);
  control<QPushButton>("listenButton")->click();

  QCOMPARE(m_messages.size(), size_t{1});
  QCOMPARE(QString::fromStdString(m_messages[0].title), QStringLiteral("警告"));
  QCOMPARE(QString::fromStdString(m_messages[0].text), text);
  QVERIFY2(QString::fromStdString(m_messages[0].detail).contains(reason), m_messages[0].detail.c_str());
  QCOMPARE(caption(), QStringLiteral("开始接收"));
  QVERIFY(!m_window->listening());
  QVERIFY(control<QComboBox>("portBox")->isEnabled());
}

#ifndef _WIN32
void SignWindowTest::vanishingPortStopsListening() {
  SerialLine line;
  listenOn(line);
  QVERIFY(m_window->listening());
  QVERIFY(!control<QComboBox>("baudBox")->isEnabled());
  line.cut();

  QTRY_VERIFY_WITH_TIMEOUT(!m_window->listening(), 5000);
  QCOMPARE(m_messages.size(), size_t{1});
  QCOMPARE(QString::fromStdString(m_messages[0].text), QStringLiteral("串口com1已断开，停止接收"));
  QVERIFY2(QString::fromStdString(m_messages[0].detail).contains(QString::fromStdString(line.sign())),
           m_messages[0].detail.c_str());
  QCOMPARE(caption(), QStringLiteral("开始接收"));
  QVERIFY(control<QComboBox>("baudBox")->isEnabled());
}
#endif

void SignWindowTest::speaksItsTranslationsLanguage_data() {
  QTest::addColumn<bool>("english");
  // Title, port label, data bits label, caption, listening caption, width label.
  QTest::addColumn<QStringList>("texts");
  QTest::addColumn<QStringList>("lines");
  QTest::addColumn<QStringList>("warnings");  // title; text and reason for a port text naming no port, a missing device
#ifdef _WIN32
  QTest::newRow("English") << true
                           << QStringList{"LED sign simulator", "Port", "Data", "Start listening", "Stop listening", "Width"}
                           << QStringList{} << QStringList{"Warning", "The port \"ttyUSB0\" is not valid",
                                                           "\"ttyUSB0\" is not a port name: ports are named com1 to com16",
                                                           "Could not open the port COM200", "COM200: "};
  QTest::newRow("Chinese, as written") << false << QStringList{"LED 屏模拟", "串口", "数据位", "开始接收", "停止接收", "屏宽"}
                                       << QStringList{}
                                       << QStringList{"警告", "串口“ttyUSB0”无效", "“ttyUSB0”不是串口名：串口名为 com1 到 com16",
                                                      "串口COM200打开失败", "COM200："};
#else
  QTest::newRow("English") << true
                           << QStringList{"LED sign simulator", "Port", "Data", "Start listening", "Stop listening", "Width"}
                           << QStringList{"frame 1: width 10, speed 0, mode 1 (move left), 64 display bytes",
                                          "  warning: speed: 0, outside 1 to 10"}
                           << QStringList{"Warning", "The port \"COM1\" is not valid",
                                          "\"COM1\" is not a port name: ports are named com1 to com16",
                                          "Could not open the port /nonexistent/ttyX",
                                          "/nonexistent/ttyX: No such file or device"};
  QTest::newRow("Chinese, as written") << false << QStringList{"LED 屏模拟", "串口", "数据位", "开始接收", "停止接收", "屏宽"}
                                       << QStringList{"第 1 帧：宽度 10，速度 0，模式 1（左移），64 个显示字节",
                                                      "  警告：速度 0，不在 1 到 10 之间"}
                                       << QStringList{"警告", "串口“COM1”无效", "“COM1”不是串口名：串口名为 com1 到 com16",
                                                      "串口/nonexistent/ttyX打开失败",
                                                      "/nonexistent/ttyX：文件或设备不存在"};
#endif
}

// The window as installTranslation leaves it under each locale; every English word fits its control.
void SignWindowTest::speaksItsTranslationsLanguage() {
  QFETCH(bool, english);
  QFETCH(QStringList, texts);
  QFETCH(QStringList, lines);
  QFETCH(QStringList, warnings);
  std::unique_ptr<QTranslator> translator, shared;  // each removes itself from the application when it goes
  if (english) {
    translator = englishTranslation(QStringLiteral("lumadot-sign"));
    shared = sharedEnglish();
    QVERIFY(translator && QCoreApplication::installTranslator(translator.get()));
    QVERIFY(shared && QCoreApplication::installTranslator(shared.get()));
  }
  openWindow();
  QCOMPARE(m_window->windowTitle(), texts[0]);
  QCOMPARE(control<QLabel>("portLabel")->text(), texts[1]);
  QCOMPARE(control<QLabel>("dataBitsLabel")->text(), texts[2]);
  QCOMPARE(control<QLabel>("columnsLabel")->text(), texts[5]);
  QCOMPARE(caption(), texts[3]);
  for (const auto* label : m_window->findChildren<QLabel*>()) {
    QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
  }
  // What failed and why, in the window's language too.
#ifdef _WIN32
  const QStringList ports{QStringLiteral("ttyUSB0"), QStringLiteral("COM200")};
#else
  const QStringList ports{QStringLiteral("COM1"), QStringLiteral("/nonexistent/ttyX")};
#endif
  for (const QString& port : ports) {
    control<QComboBox>("portBox")->setEditText(port);
    control<QPushButton>("listenButton")->click();
  }
  QCOMPARE(m_messages.size(), size_t{2});
  for (std::size_t i = 0; i < 2; ++i) {
    QCOMPARE(QString::fromStdString(m_messages[i].title), warnings[0]);
    QCOMPARE(QString::fromStdString(m_messages[i].text), warnings[static_cast<qsizetype>(2 * i + 1)]);
    QVERIFY2(QString::fromStdString(m_messages[i].detail).startsWith(warnings[static_cast<qsizetype>(2 * i + 2)]),
             m_messages[i].detail.c_str());
  }
#ifndef _WIN32
  control<QComboBox>("portBox")->setEditText(QStringLiteral("com1"));
  SerialLine line;
  listenOn(line);
  QCOMPARE(caption(), texts[4]);
  const auto* button = control<QPushButton>("listenButton");
  QVERIFY(button->fontMetrics().horizontalAdvance(caption()) < button->width());
  const QByteArray frame = frameBytes(10, 0, 1, QByteArray(64, '\x0F'));
  line.send(std::vector<std::uint8_t>(frame.begin(), frame.end()));
  QTRY_COMPARE_WITH_TIMEOUT(listed(), lines, 5000);
#else
  Q_UNUSED(lines);  // what comes on a line: over a COM port, scripts/windows_window_test.sh
#endif
}

QTEST_MAIN(SignWindowTest)
#include "sign_window_test.moc"
