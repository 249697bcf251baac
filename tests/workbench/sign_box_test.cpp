// The workbench's sign box over real pseudo-terminals: what it sends must be
// what lumadot-cli writes for the same text and boxes, byte for byte.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>
#ifndef _WIN32
#include <termios.h>
#endif

#include "extract/glyphs.h"
#include "preview/dot_picture.h"
#include "serial/port_names.h"
#include "support/process.h"
#ifndef _WIN32
#include "support/pseudo_terminal.h"
#endif
#include "workbench/sign_box.h"

// Before any QFETCH of it, or a release build instantiates QMetaTypeId first.
Q_DECLARE_METATYPE(lumadot::Glyphs)

using namespace lumadot;
using namespace std::chrono_literals;

namespace {

#ifndef _WIN32
std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// What `lumadot-cli extract --frame-out` writes for `text` with these options.
std::vector<std::uint8_t> cliFrame(const QString& text, const QStringList& options) {
  const test::TempDir dir;
  const auto file = dir.path() / "frame.bin";
  std::vector<std::string> args{"extract", "--frame-out", file.string()};
  for (const QString& option : options) args.push_back(option.toStdString());
  args.push_back(text.toStdString());
  const auto run = test::runProcess(LUMADOT_CLI_PATH, args);
  if (run.exitCode != 0) qWarning("lumadot-cli: %s", run.err.c_str());
  return bytesOf(test::readFile(file));
}
#endif

Glyphs glyphsOf(const QString& text, const ByteLayout& layout) {
  auto glyphs = lookUp(text.toStdU16String(), layout, FontPaths::inDirectory(LUMADOT_BIN_DIR));
  if (!glyphs) qFatal("lookUp: %s", glyphs.error().text.c_str());
  return *glyphs;
}

// A device as a user types it into the port box.
#ifdef _WIN32
const char* const kTypedDevice = "\\\\.\\COM77";
#else
const char* const kTypedDevice = "/dev/pts/77";
#endif

// A 24 x 24 glyph, as --size 24 gives it: the sign has no room for its rows.
Glyphs tallGlyphs() {
  return {std::vector<std::uint8_t>(72, 0x5A), {Glyph{u"中", -1, 0, 72}}, CellSize{24, 24}};
}

// The first eight columns of 左 as the build's font draws it (lumadot-cli preview --ascii 左), the top row first.
const char* const kLeftOfZuo[16] = {
    "......#.",
    "......#.",
    "......#.",
    "########",
    ".....#..",
    ".....#..",
    ".....#..",
    "....#...",
    "....####",
    "...#....",
    "...#....",
    "..#.....",
    ".#......",
    "#.......",
    "..######",
    "........"
};

// A panel's dots as rows of # (lit) and . (dark), the top row first.
QStringList dotRows(const DotPicture& panel) {
  QStringList rows;
  for (int y = 0; y < DotPicture::kSignHeight; ++y) {
    QString row;
    for (int x = 0; x < panel.width(); ++x) row += (panel.column(x) >> y & 1) != 0 ? u'#' : u'.';
    rows << row;
  }
  return rows;
}

// An eight-column panel `step` steps into moving left: the first `step` columns of `art` at its right edge.
QStringList enteringFromTheRight(const char* const (&art)[16], int step) {
  QStringList rows;
  for (const char* row : art) rows << QString(8 - step, u'.') + QString::fromLatin1(row).left(step);
  return rows;
}

// 24 wide, 16 high: what lumadot-cli extract --size 24x16 --send refuses.
Glyphs wideGlyphs() {
  return {std::vector<std::uint8_t>(48, 0x5A), {Glyph{u"中", -1, 0, 48}}, CellSize{24, 16}};
}

// 247 Chinese characters, one column more than a frame carries.
Glyphs tooWideGlyphs() {
  Glyphs glyphs{std::vector<std::uint8_t>(247 * 32, 0x5A), {}, CellSize{}};
  for (std::size_t i = 0; i < 247; ++i) glyphs.glyphs.push_back(Glyph{u"中", -1, i * 32, 32});
  return glyphs;
}

#ifndef _WIN32
speed_t baudConstant(int baud) { return baud == 19200 ? B19200 : B9600; }
#endif

}  // namespace

class SignBoxTest final : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup() { m_box.reset(); }
#ifndef _WIN32
  // Pseudo-terminals and Qt Serial Port are POSIX; under wine, scripts/windows_window_test.sh sends through COM ports.
  void sendsWhatTheCliWrites_data();
  void sendsWhatTheCliWrites();
  void staysLiveWhileTheLineWaits();
  void failedSendNamesTheBoxAndTheReason_data();
  void failedSendNamesTheBoxAndTheReason();
#endif
  void sendIsOffForGlyphsTheSignCannotShow_data();
  void sendIsOffForGlyphsTheSignCannotShow();
  void simulatesTheEffectAtItsPace();
  void portBoxListsPortsByPathAndComN();
  void settingsComeBackAndDefaultsReturn();

 private:
  template <typename T>
  T* child(const char* name) const {
    auto* widget = m_box->findChild<T*>(QLatin1String(name));
    if (!widget) qFatal("no %s", name);
    return widget;
  }
  void setBox(const char* name, const QString& text) { child<QComboBox>(name)->setEditText(text); }
  void typePort(const std::string& path);

  std::unique_ptr<SignBox> m_box;
  std::vector<Message> m_messages;
  std::vector<std::vector<std::uint8_t>> m_sent;
  QStringList m_failures;
};

void SignBoxTest::init() {
  m_box = std::make_unique<SignBox>();
  m_messages.clear();
  m_sent.clear();
  m_failures.clear();
  m_box->messages().recordInstead([this](const Message& message) { m_messages.push_back(message); });
  connect(m_box.get(), &SignBox::sent, this, [this](std::vector<std::uint8_t> frame) { m_sent.push_back(frame); });
  connect(m_box.get(), &SignBox::sendFailed, this, [this](const QString& why) { m_failures << why; });
  m_box->show();
}

// As a user does it: the path typed key by key into the port box.
void SignBoxTest::typePort(const std::string& path) {
  auto* port = child<QComboBox>("portBox");
  port->lineEdit()->selectAll();
  QTest::keyClicks(port->lineEdit(), QString::fromStdString(path));
}

#ifndef _WIN32
// The frame's display bytes are in the layout the sign reads, whatever layout the output's glyphs are in.
void SignBoxTest::sendsWhatTheCliWrites_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("scan");  // the output's layout
  QTest::addColumn<bool>("lsbFirst");
  QTest::addColumn<int>("baud");
  QTest::addColumn<QString>("parity");
  QTest::addColumn<QString>("speed");
  QTest::addColumn<QString>("mode");
  QTest::newRow("defaults") << QStringLiteral("中A") << QStringLiteral("rows") << false << 9600 << QStringLiteral("E")
                            << QStringLiteral("5") << QStringLiteral("静止");
  QTest::newRow("sign's layout, fast, moving left")
      << QStringLiteral("显示屏Lumadot") << QStringLiteral("row-bands") << true << 19200 << QStringLiteral("N")
      << QStringLiteral("10") << QStringLiteral("左移");
  QTest::newRow("slow flash") << QStringLiteral("闪") << QStringLiteral("row-bands") << true << 9600
                              << QStringLiteral("O") << QStringLiteral("1") << QStringLiteral("闪烁");
  QTest::newRow("output in columns, lowest bit first")
      << QStringLiteral("中A显示") << QStringLiteral("columns") << true << 9600 << QStringLiteral("E")
      << QStringLiteral("5") << QStringLiteral("左移");
}

void SignBoxTest::sendsWhatTheCliWrites() {
  QFETCH(QString, text);
  QFETCH(QString, scan);
  QFETCH(bool, lsbFirst);
  QFETCH(int, baud);
  QFETCH(QString, parity);
  QFETCH(QString, speed);
  QFETCH(QString, mode);
  const ByteLayout output{*scanNamed(scan.toStdString()), lsbFirst, false};
  const QStringList options{QStringLiteral("--speed"), speed, QStringLiteral("--mode"), mode};
  const auto expected = cliFrame(text, options + QStringList{QStringLiteral("--reverse"), QStringLiteral("--split")});
  QVERIFY(expected.size() > 545);
  if (output != kFrameLayout) {
    QStringList asOutput{QStringLiteral("--scan"), scan};
    if (lsbFirst) asOutput << QStringLiteral("--lsb-first");
    QVERIFY(cliFrame(text, options + asOutput) != expected);  // the frame in the output's layout would differ
  }
  // A stopped line keeps the port open, however loaded the machine, until its settings are read.
  test::PseudoTerminal sign({.outputStoppedUntilReleased = true});
  m_box->setGlyphs(glyphsOf(text, output), output);
  typePort(sign.path());
  setBox("baudBox", QString::number(baud));
  setBox("parityBox", parity);
  setBox("speedBox", speed);
  setBox("modeBox", mode);

  QTest::mouseClick(child<QPushButton>("sendButton"), Qt::LeftButton);
  QTRY_COMPARE(child<QProgressBar>("sendProgress")->maximum(), static_cast<int>(expected.size()));
  const termios line = sign.settings();
  sign.releaseOutput();
  QTRY_COMPARE(m_sent.size(), std::size_t{1});
  QCOMPARE(m_sent[0], expected);
  QCOMPARE(sign.received(expected.size(), 5s), expected);
  QCOMPARE(cfgetospeed(&line), baudConstant(baud));
  QCOMPARE((line.c_cflag & PARODD) != 0, parity == QStringLiteral("O"));
  QCOMPARE(m_messages.size(), std::size_t{1});
  QCOMPARE(m_messages[0].title, std::string("系统提示"));
  QVERIFY2(m_messages[0].text.starts_with("使用串口" + sign.path() + "共发送"), m_messages[0].text.c_str());
  QVERIFY(m_messages[0].text.ends_with("K数据发送成功"));
  QVERIFY(m_failures.isEmpty());
  QVERIFY(child<QPushButton>("sendButton")->isEnabled());
}

// A line that takes nothing for a while: the press returns at once, the
// event loop keeps running and the bar shows the frame's size.
void SignBoxTest::staysLiveWhileTheLineWaits() {
  test::PseudoTerminal sign({.outputStoppedUntilReleased = true});
  m_box->setGlyphs(glyphsOf(QString(200, QChar(u'中')), {}), {});
  typePort(sign.path());
  int ticks = 0;
  QTimer ticker;
  connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
  ticker.start(50);
  child<QPushButton>("sendButton")->click();
  QVERIFY(m_box->sending());
  QVERIFY(!child<QPushButton>("sendButton")->isEnabled());
  QTRY_COMPARE(child<QProgressBar>("sendProgress")->maximum(), 6945);
  QVERIFY(child<QProgressBar>("sendProgress")->isVisible());
  QTRY_VERIFY(ticks >= 10);  // half a second of the event loop while the line takes nothing
  QVERIFY(m_box->sending());
  sign.releaseOutput();
  QTRY_COMPARE_WITH_TIMEOUT(m_sent.size(), std::size_t{1}, 10000);
  QVERIFY(!m_box->sending());
  QVERIFY(!child<QProgressBar>("sendProgress")->isVisible());
  QCOMPARE(sign.received(6945, 5s).size(), std::size_t{6945});
}

void SignBoxTest::failedSendNamesTheBoxAndTheReason_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("warning");
  QTest::addColumn<QString>("reason");  // how the detail starts; empty for none
  QTest::newRow("missing device") << QStringLiteral("portBox") << QStringLiteral("/nonexistent/ttyX")
                                  << QStringLiteral("串口/nonexistent/ttyX打开失败，可能正在使用中")
                                  << QStringLiteral("/nonexistent/ttyX：文件或设备不存在");
  QTest::newRow("not a port") << QStringLiteral("portBox") << QStringLiteral("ttyUSB0")
                              << QStringLiteral("串口ttyUSB0打开失败，可能正在使用中")
                              << QStringLiteral("“ttyUSB0”不是串口名");
  QTest::newRow("parity") << QStringLiteral("parityBox") << QStringLiteral("X") << QString()
                          << QStringLiteral("校验位“X”无效");
  QTest::newRow("speed") << QStringLiteral("speedBox") << QStringLiteral("0") << QStringLiteral("显示速度“0”无效")
                         << QString();
  QTest::newRow("mode") << QStringLiteral("modeBox") << QStringLiteral("静") << QStringLiteral("显示方式“静”无效")
                        << QString();
}

void SignBoxTest::failedSendNamesTheBoxAndTheReason() {
  QFETCH(QString, box);
  QFETCH(QString, text);
  QFETCH(QString, warning);
  QFETCH(QString, reason);
  test::PseudoTerminal sign;
  m_box->setGlyphs(glyphsOf(QStringLiteral("中A"), {}), {});
  typePort(sign.path());
  setBox(box.toLatin1().constData(), text);
  if (warning.isEmpty()) warning = QStringLiteral("串口%1打开失败，可能正在使用中").arg(QString::fromStdString(sign.path()));
  child<QPushButton>("sendButton")->click();

  QTRY_COMPARE(m_failures.size(), 1);
  QCOMPARE(m_messages.size(), std::size_t{1});
  QCOMPARE(m_messages[0].icon, MessageIcon::warning);
  QCOMPARE(QString::fromStdString(m_messages[0].text), warning);
  QVERIFY2(QString::fromStdString(m_messages[0].detail).startsWith(reason), m_messages[0].detail.c_str());
  QCOMPARE(m_messages[0].detail.empty(), reason.isEmpty());
  QVERIFY(m_failures[0].startsWith(warning));
  QVERIFY(m_failures[0].contains(reason));
  QVERIFY(m_sent.empty());
  QVERIFY(sign.receivedAll().empty());
  QTRY_VERIFY(child<QPushButton>("sendButton")->isEnabled());
}
#endif

void SignBoxTest::sendIsOffForGlyphsTheSignCannotShow_data() {
  QTest::addColumn<Glyphs>("glyphs");
  QTest::addColumn<QString>("refusal");
  QTest::newRow("16 rows") << glyphsOf(QStringLiteral("中A"), {}) << QString();
  QTest::newRow("24 rows") << tallGlyphs()
                           << QStringLiteral("显示屏只显示16点阵的字模，所以24点高的字模不能发送；请改用16点阵");
  QTest::newRow("24x16") << wideGlyphs()
                         << QStringLiteral("显示屏只显示16点阵的字模，所以24×16点阵的字模不能发送；请改用16点阵");
  QTest::newRow("wider than a frame") << tooWideGlyphs() << QStringLiteral("文字宽 494 列，而一帧最多 493 列");
  QTest::newRow("nothing") << Glyphs{} << QStringLiteral("没有可发送的字模");
}

void SignBoxTest::sendIsOffForGlyphsTheSignCannotShow() {
  QFETCH(Glyphs, glyphs);
  QFETCH(QString, refusal);
  m_box->setGlyphs(glyphs, {});
  QCOMPARE(m_box->canSend(), refusal.isEmpty());
  QCOMPARE(m_box->sendRefusal(), refusal);
  QCOMPARE(child<QPushButton>("sendButton")->isEnabled(), refusal.isEmpty());
  QCOMPARE(child<QPushButton>("simulateButton")->isEnabled(), refusal.isEmpty());
  QCOMPARE(child<QLabel>("refusalLabel")->text(), refusal);
  if (!refusal.isEmpty()) QCOMPARE(child<QPushButton>("sendButton")->toolTip(), refusal);
}

// The simulation steps on its timer, each step the sign's panel: moving left, the message comes in
// at the right edge a column a step, drawn upright whatever the output's layout.
void SignBoxTest::simulatesTheEffectAtItsPace() {
  const ByteLayout columns{Scan::columns, false, true};
  m_box->setGlyphs(glyphsOf(QStringLiteral("左移"), columns), columns);
  m_box->setPanelColumns(8);
  setBox("speedBox", QStringLiteral("9"));
  setBox("modeBox", QStringLiteral("左移"));
  std::vector<DotPicture> panels;
  int stopped = 0;
  connect(m_box.get(), &SignBox::panelChanged, this, [&](const DotPicture& panel) { panels.push_back(panel); });
  connect(m_box.get(), &SignBox::simulationStopped, this, [&] { ++stopped; });
  auto* simulate = child<QPushButton>("simulateButton");
  auto* timer = m_box->findChild<QTimer*>(QStringLiteral("simulationTimer"));

  // The boxes tell the pace and the effect in the numbers the simulation plays by.
  QCOMPARE(child<QComboBox>("speedBox")->itemData(8, Qt::ToolTipRole).toString(), QStringLiteral("速度字节9：每步20毫秒"));
  QCOMPARE(child<QComboBox>("modeBox")->itemData(3, Qt::ToolTipRole).toString(),
           QStringLiteral("方式字节3：从下方逐行升入，停留16步，再从上方升出"));
  QCOMPARE(child<QComboBox>("modeBox")->itemData(5, Qt::ToolTipRole).toString(),
           QStringLiteral("方式字节5：亮5步、暗5步，交替闪烁"));
  simulate->click();
  QCOMPARE(simulate->text(), QStringLiteral("停止模拟"));
  QVERIFY(timer->isActive());
  QCOMPARE(timer->interval(), 20);  // speed 9's step
  for (int step = 1; step < 8; ++step) QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
  QCOMPARE(panels.size(), std::size_t{8});
  for (std::size_t step = 0; step < panels.size(); ++step) {
    QCOMPARE(dotRows(panels[step]), enteringFromTheRight(kLeftOfZuo, static_cast<int>(step)));
  }
  simulate->click();
  QCOMPARE(stopped, 1);
  QCOMPARE(simulate->text(), QStringLiteral("模拟"));
  QVERIFY(!timer->isActive());

  simulate->click();
  m_box->setGlyphs(glyphsOf(QStringLiteral("A"), {}), {});
  QCOMPARE(stopped, 2);
  QVERIFY(!m_box->simulating());
  QVERIFY(!timer->isActive());
}

// A listed device is sent to by its path, whatever the system calls it; comN by its name.
void SignBoxTest::portBoxListsPortsByPathAndComN() {
  auto* port = child<QComboBox>("portBox");
  const int firstCom = port->findText(QStringLiteral("com1"));
  QCOMPARE(port->count() - firstCom, kPortCount);
  for (int i = 0; i < port->count(); ++i) {
    port->setCurrentIndex(i);
    const QString path = port->itemData(i).toString();
    QVERIFY(port->itemText(i).startsWith(path));
    QCOMPARE(m_box->boxes().port, path.toStdU16String());
  }
  port->setCurrentIndex(firstCom + 2);
  QCOMPARE(m_box->boxes().port, u"com3");
}

void SignBoxTest::settingsComeBackAndDefaultsReturn() {
  const test::TempDir dir;
  const QString file = QString::fromStdString((dir.path() / "workbench.ini").string());
  QCOMPARE(m_box->boxes(), SendBoxes{});
  typePort(kTypedDevice);
  setBox("baudBox", QStringLiteral("19200"));
  setBox("parityBox", QStringLiteral("N"));
  setBox("dataBitsBox", QStringLiteral("7"));
  setBox("stopBitsBox", QStringLiteral("2"));
  setBox("speedBox", QStringLiteral("8"));
  setBox("modeBox", QStringLiteral("下移"));
  const SendBoxes chosen = m_box->boxes();
  {
    QSettings settings(file, QSettings::IniFormat);
    m_box->saveSettings(settings);
    QCOMPARE(settings.value(QStringLiteral("sign/port")).toString(), QString::fromLatin1(kTypedDevice));
  }
  SignBox other;
  other.loadSettings(QSettings(file, QSettings::IniFormat));
  QCOMPARE(other.boxes(), chosen);
  QCOMPARE(other.request()->mode, std::uint8_t{4});
  other.restoreDefaults();
  QCOMPARE(other.boxes(), SendBoxes{});
}

QTEST_MAIN(SignBoxTest)
#include "sign_box_test.moc"
