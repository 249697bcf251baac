// The workbench driven as a user drives it, control by control, each output
// compared with what lumadot-cli gives for the same options.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QGroupBox>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <filesystem>
#include <memory>

#include "support/picture_files.h"
#include "support/process.h"
#include "support/widgets.h"
#include "widgets/translation.h"
#include "workbench/dot_view.h"
#include "workbench/sign_box.h"
#include "workbench/workbench_command_line.h"
#include "formats/intel_hex.h"
#include "workbench/workbench_run.h"
#include "workbench/workbench_window.h"

using namespace lumadot;

namespace {

const char* const kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";

std::vector<std::string> words(const QStringList& list) {
  std::vector<std::string> out;
  for (const QString& s : list) out.push_back(s.toStdString());
  return out;
}

std::string cli(const QStringList& args) {
  const auto run = test::runProcess(LUMADOT_CLI_PATH, words(args));
  return run.out;
}

// Sets a control as a user would: a drop-down box to the item with that text
// (or typed in, when editable), a check box "on"/"off", a text box's text.
void setControl(QWidget& window, const QString& name, const QString& value) {
  QWidget* control = window.findChild<QWidget*>(name);
  QVERIFY2(control, qPrintable(name));
  if (auto* box = qobject_cast<QComboBox*>(control)) {
    const int at = box->findText(value, Qt::MatchStartsWith);
    if (box->isEditable() && at < 0) {
      box->setCurrentText(value);
    } else {
      QVERIFY2(at >= 0, qPrintable(name + " has no " + value));
      box->setCurrentIndex(at);
    }
  } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
    check->setChecked(value == QLatin1String("on"));
  } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(value);
  } else if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
    text->setPlainText(value);
  } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
    spin->setValue(value.toInt());
  }
}

QString boxText(const QWidget& window) {
  return window.findChild<QPlainTextEdit*>(QStringLiteral("outputBox"))->toPlainText();
}

// A port the sign box cannot open, as typed and as its failures name it. Windows
// reaches devices as COMn, not by a path: there com1 leads to a file that is not there.
struct MissingPort {
  QString typed;
  std::string named;
};
MissingPort missingPort() {
#ifdef _WIN32
  static const test::TempDir dir;
  const std::string file = (dir.path() / "no-such-port").string();
  qputenv("LUMADOT_COM1", QByteArray::fromStdString(file));
  return {QStringLiteral("com1"), "com1 (" + file + ")"};
#else
  return {QStringLiteral("/nonexistent/lumadot-pty"), "/nonexistent/lumadot-pty"};
#endif
}

QString asBox(const std::string& out) { return QString::fromStdString(out).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

}  // namespace

class WorkbenchWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<WorkbenchWindow> m_window;
#ifdef _WIN32
  test::TempDir m_localAppData;
#endif

  WorkbenchWindow& window() { return *m_window; }

  // The sign box's boxes for a send to a device that is not there, once it has failed.
  static std::vector<Message> failedSend(WorkbenchWindow& shown, const MissingPort& port) {
    shown.findChild<QComboBox*>(QStringLiteral("portBox"))->setCurrentText(port.typed);
    auto* sign = shown.findChild<SignBox*>(QStringLiteral("signBox"));
    std::vector<Message> messages;
    sign->messages().recordInstead([&messages](const Message& message) { messages.push_back(message); });
    QSignalSpy failed(sign, &SignBox::sendFailed);
    shown.findChild<QPushButton*>(QStringLiteral("sendButton"))->click();
    if (!QTest::qWaitFor([&failed] { return failed.size() == 1; }, 10000)) qWarning("the send did not fail");
    sign->messages().recordInstead([](const Message&) {});  // `messages` goes with this call
    return messages;
  }
  void settle() { QTRY_VERIFY_WITH_TIMEOUT(!m_window->busy(), 20000); }

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    // Without one, Windows' QSettings keep nothing; the program names its own.
    QCoreApplication::setOrganizationName(QStringLiteral("Lumadot"));
#ifdef _WIN32
    // No fontconfig: Zen Hei is one of this user's own fonts, as a user installs one.
    const auto fonts = m_localAppData.path() / "Microsoft" / "Windows" / "Fonts";
    std::filesystem::create_directories(fonts);
    std::filesystem::copy_file(kZenHei, fonts / "wqy-zenhei.ttc");
    qputenv("LOCALAPPDATA", QByteArray::fromStdString(m_localAppData.path().string()));
#endif
  }

  void init() {
    QSettings().clear();
    m_window = std::make_unique<WorkbenchWindow>(LUMADOT_BIN_DIR);
    m_window->show();
    setControl(window(), QStringLiteral("textBox"), QStringLiteral("中A"));
    settle();
  }

  void cleanup() {
    m_window.reset();
    qunsetenv("LUMADOT_COM1");
  }

  void eachControlGivesWhatTheCommandLineGives_data() {
    QTest::addColumn<QStringList>("controls");  // name, value, name, value ...
    QTest::addColumn<QStringList>("args");      // lumadot-cli's, before the text
    QTest::addColumn<QString>("text");
    const QString zh = QStringLiteral("中A");
    QTest::newRow("listing") << QStringList{} << QStringList{"extract"} << zh;
    QTest::newRow("two lines") << QStringList{} << QStringList{"extract"} << QStringLiteral("欢迎\n光临 Welcome");
    for (const char* scan : {"rows", "row-bands", "columns", "column-bands"}) {
      QTest::newRow(scan) << QStringList{"scanBox", scan} << QStringList{"extract", "--scan", scan} << zh;
    }
    QTest::newRow("lsb first") << QStringList{"lsbFirstCheck", "on"} << QStringList{"extract", "--lsb-first"} << zh;
    QTest::newRow("negative") << QStringList{"negativeCheck", "on"} << QStringList{"extract", "--negative"} << zh;
    for (const char* format : {"a51", "as31", "sdas", "c51", "sdcc", "hex"}) {
      QTest::newRow(format) << QStringList{"formatBox", format} << QStringList{"extract", "--format", format} << zh;
    }
    QTest::newRow("prefix") << QStringList{"formatBox", "c51", "prefixEdit", "LED"}
                            << QStringList{"extract", "--format", "c51", "--name", "LED"} << zh;
    QTest::newRow("one table") << QStringList{"formatBox", "sdcc", "tableCheck", "on"}
                               << QStringList{"extract", "--format", "sdcc", "--table"} << zh;
    QTest::newRow("no credit") << QStringList{"formatBox", "c51", "noCreditCheck", "on"}
                               << QStringList{"extract", "--format", "c51", "--no-credit"} << zh;
    QTest::newRow("the listing keeps its credit") << QStringList{"noCreditCheck", "on"} << QStringList{"extract"} << zh;
    QTest::newRow("subset") << QStringList{"formatBox", "sdcc", "subsetCheck", "on"}
                            << QStringList{"font", "--format", "sdcc"} << QStringLiteral("中A中啊");
    QTest::newRow("subset a51") << QStringList{"formatBox", "a51", "subsetCheck", "on", "prefixEdit", "F"}
                                << QStringList{"font", "--format", "a51", "--name", "F"} << zh;
    QTest::newRow("zen hei 24") << QStringList{"fontBox", "WenQuanYi Zen Hei", "sizeBox", "24"}
                                << QStringList{"extract", "--font", kZenHei, "--size", "24"} << zh;
    QTest::newRow("zen hei 20x16, columns")
        << QStringList{"fontBox", "WenQuanYi Zen Hei", "sizeBox", "20x16", "scanBox", "columns"}
        << QStringList{"extract", "--font", kZenHei, "--size", "20x16", "--scan", "columns"} << zh;
  }

  void eachControlGivesWhatTheCommandLineGives() {
    QFETCH(QStringList, controls);
    QFETCH(QStringList, args);
    QFETCH(QString, text);
    if (controls.contains(QStringLiteral("fontBox"))) {
      // The system's fonts are listed on a worker thread; the box offers them once they are.
      QTRY_VERIFY_WITH_TIMEOUT(window().findChild<QComboBox*>(QStringLiteral("fontBox"))->findText(
                                   QStringLiteral("WenQuanYi Zen Hei"), Qt::MatchStartsWith) >= 0,
                               20000);
    }
    setControl(window(), QStringLiteral("textBox"), text);
    for (qsizetype i = 0; i + 1 < controls.size(); i += 2) setControl(window(), controls[i], controls[i + 1]);
    settle();
    QVERIFY2(!window().output().failure, window().output().failure ? window().output().failure->text.c_str() : "");
    QCOMPARE(boxText(window()), asBox(cli(args << QStringLiteral("--") << QString(text).replace("\n", "\r\n"))));
  }

  void binIsShownAsHexAndSavedRaw() {
    setControl(window(), QStringLiteral("formatBox"), QStringLiteral("bin"));
    settle();
    const std::string bytes = cli({"extract", "--format", "bin", "中A"});
    QCOMPARE(boxText(window()), asBox(hexView({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()})));
    test::TempDir dir;
    QVERIFY(window().saveOutput(dir.path() / "中A.bin"));
    QCOMPARE(test::readFile(dir.path() / "中A.bin"), bytes);
  }

  void saveWritesExactlyTheBytesPrinted_data() {
    QTest::addColumn<QStringList>("controls");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("listing") << QStringList{} << QStringList{"extract"};
    QTest::newRow("listing, gbk") << QStringList{"saveEncodingBox", "GBK"}
                                  << QStringList{"extract", "--output-encoding", "gbk"};
    QTest::newRow("c51, gbk") << QStringList{"formatBox", "c51", "saveEncodingBox", "GBK"}
                              << QStringList{"extract", "--format", "c51", "--output-encoding", "gbk"};
    QTest::newRow("subset, gbk, no credit")
        << QStringList{"formatBox", "a51", "subsetCheck", "on", "noCreditCheck", "on", "saveEncodingBox", "GBK"}
        << QStringList{"font", "--format", "a51", "--no-credit", "--output-encoding", "gbk"};
  }

  void saveWritesExactlyTheBytesPrinted() {
    QFETCH(QStringList, controls);
    QFETCH(QStringList, args);
    for (qsizetype i = 0; i + 1 < controls.size(); i += 2) setControl(window(), controls[i], controls[i + 1]);
    settle();
    test::TempDir dir;
    QVERIFY(window().saveOutput(dir.path() / "saved"));
    QCOMPARE(test::readFile(dir.path() / "saved"), cli(args << QStringLiteral("中A")));
  }

  // The clipboard holds text; only a save is written in the encoding asked for.
  void theCommandLineSetsTheControlsAndCopyTakesTheWholeOutput() {
    const QStringList args{"--scan", "columns", "--lsb-first", "--format", "c51", "--no-credit"};
    const QStringList gbk{"--output-encoding", "gbk", "中A"};
    const auto start = readWorkbenchCommandLine(words(args + gbk));
    QVERIFY(std::holds_alternative<WorkbenchStart>(start));
    window().apply(std::get<WorkbenchStart>(start));
    settle();
    QApplication::clipboard()->clear();
    QTest::keyClick(&window(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::clipboard()->text().toStdString(), cli(QStringList{"extract"} + args << "中A"));
    test::TempDir dir;
    QVERIFY(window().saveOutput(dir.path() / "saved.c"));
    QCOMPARE(test::readFile(dir.path() / "saved.c"), cli(QStringList{"extract"} + args + gbk));
  }

  // Controls left otherwise than extract's defaults, saved, must not show through a command line, which
  // opens every control as lumadot-cli extract reads the same options.
  void aCommandLineStartsFromExtractsDefaultsNotTheSavedControls_data() {
    QTest::addColumn<QStringList>("args");  // the workbench's, and extract's after --frame-out FILE
    QTest::addColumn<QStringList>("sign");  // the sign box's seven boxes after the start
    const QStringList defaults{"com1", "9600", "E", "8", "1", "5", "静止"};
    QTest::newRow("layout and format") << QStringList{"--scan", "columns", "--lsb-first", "--format", "c51", "中A"}
                                       << defaults;
    QTest::newRow("as the main window opens it") << QStringList{"--scan", "row-bands", "--lsb-first", "--", "中A"}
                                                 << defaults;
    QTest::newRow("the text alone") << QStringList{"显示屏A"} << defaults;
#ifdef _WIN32
    const QString device = QStringLiteral(R"(\\.\COM77)");  // what is no COMn is made a file's absolute path
#else
    const QString device = QStringLiteral("/dev/pts/77");
#endif
    QTest::newRow("the sign's options")
        << QStringList{"--device", device, "--baud", "19200", "--parity", "N", "--data-bits", "7",
                       "--stop-bits", "1.5", "--speed", "9", "--mode", "左移", "中A"}
        << QStringList{device, "19200", "N", "7", "1.5", "9", "左移"};
    QTest::newRow("a port by its name") << QStringList{"--port", "com3", "--mode", "闪烁", "中A"}
                                        << QStringList{"com3", "9600", "E", "8", "1", "5", "闪烁"};
  }

  void aCommandLineStartsFromExtractsDefaultsNotTheSavedControls() {
    QFETCH(QStringList, args);
    QFETCH(QStringList, sign);
    QTRY_VERIFY_WITH_TIMEOUT(window().findChild<QComboBox*>(QStringLiteral("fontBox"))->findText(
                                 QStringLiteral("WenQuanYi Zen Hei"), Qt::MatchStartsWith) >= 0,
                             20000);
    const std::pair<const char*, const char*> saved[] = {
        {"fontBox", "WenQuanYi Zen Hei"}, {"sizeBox", "24"}, {"formatBox", "sdcc"}, {"prefixEdit", "LED"},
        {"tableCheck", "on"},            {"portBox", "/dev/pts/55"}, {"speedBox", "8"},
        {"noCreditCheck", "on"},         {"saveEncodingBox", "GBK"}};
    for (const auto& [name, value] : saved) setControl(window(), QString::fromUtf8(name), QString::fromUtf8(value));
    settle();
    window().close();
    m_window = std::make_unique<WorkbenchWindow>(LUMADOT_BIN_DIR);
    QCOMPARE(window().settings().output.format, OutputFormat::sdcc);  // what the start must not keep

    const auto start = readWorkbenchCommandLine(words(args));
    QVERIFY(std::holds_alternative<WorkbenchStart>(start));
    window().apply(std::get<WorkbenchStart>(start));
    settle();
    test::TempDir dir;
    const QString frame = QString::fromStdString((dir.path() / "frame.bin").string());
    const std::string printed = cli(QStringList{"extract", "--frame-out", frame} + args);
    QCOMPARE(boxText(window()), asBox(printed));
    QVERIFY(window().saveOutput(dir.path() / "saved"));
    QCOMPARE(test::readFile(dir.path() / "saved"), printed);
    const SendBoxes boxes = window().findChild<SignBox*>(QStringLiteral("signBox"))->boxes();
    QCOMPARE((QStringList{QString::fromStdU16String(boxes.port), QString::fromStdU16String(boxes.baud),
                          QString::fromStdU16String(boxes.parity), QString::fromStdU16String(boxes.dataBits),
                          QString::fromStdU16String(boxes.stopBits), QString::fromStdU16String(boxes.speed),
                          QString::fromStdU16String(boxes.mode)}),
             sign);
  }

  void theCommandLineRefusesWhatExtractRefuses_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exit");
    QTest::newRow("help") << QStringList{"--help"} << 0;
    QTest::newRow("version") << QStringList{"--version"} << 0;
    QTest::newRow("bad scan") << QStringList{"--scan", "diagonal"} << 2;
    QTest::newRow("table with a51") << QStringList{"--format", "a51", "--table"} << 2;
    QTest::newRow("size 65") << QStringList{"--size", "65"} << 2;
    QTest::newRow("no credit in the listing") << QStringList{"--no-credit"} << 2;
    QTest::newRow("big5 source") << QStringList{"--format", "c51", "--output-encoding", "big5"} << 2;
    QTest::newRow("missing text file") << QStringList{"--text-file", "/nonexistent/t.txt"} << 1;
    QTest::newRow("speed 11") << QStringList{"--speed", "11"} << 2;
    QTest::newRow("port and device") << QStringList{"--port", "com1", "--device", "/dev/pts/7"} << 2;
  }

  void theCommandLineRefusesWhatExtractRefuses() {
    QFETCH(QStringList, args);
    QFETCH(int, exit);
    const auto start = readWorkbenchCommandLine(words(args));
    QVERIFY(std::holds_alternative<int>(start));
    QCOMPARE(std::get<int>(start), exit);
  }

  void thePictureTabGivesWhatPictureGives() {
    // Until a picture is chosen the tab asks for one, and the text's output stays.
    const QString textOutput = boxText(window());
    auto* tabs = window().findChild<QTabWidget*>(QStringLiteral("inputTabs"));
    tabs->setCurrentIndex(1);
    settle();
    QCOMPARE(boxText(window()), textOutput);
    QCOMPARE(window().statusBar()->currentMessage(), QStringLiteral("请先选择一张图片"));
    test::TempDir dir;
    const auto file = dir.path() / "p.png";
    std::vector<std::string> rows;
    for (int y = 0; y < 16; ++y) rows.push_back(std::string(static_cast<std::size_t>(y + 2), '#') + std::string(static_cast<std::size_t>(18 - y), '.'));
    test::writeFile(file, test::pngFile(test::drawnPicture(rows)));
    const auto start = readWorkbenchCommandLine({"--picture", file.string(), "--format", "c51"});
    window().apply(std::get<WorkbenchStart>(start));
    settle();
    QCOMPARE(boxText(window()), asBox(cli({"picture", "--format", "c51", QString::fromStdString(file.string())})));
    setControl(window(), QStringLiteral("invertCheck"), QStringLiteral("on"));
    settle();
    QCOMPARE(boxText(window()),
             asBox(cli({"picture", "--format", "c51", "--invert", QString::fromStdString(file.string())})));
  }

  void theLackingLineNamesWhatTheFontCannotDraw() {
    setControl(window(), QStringLiteral("textBox"), QStringLiteral("中😀A€😀"));
    settle();
    const QString line = window().findChild<QLabel*>(QStringLiteral("lackingLabel"))->text();
    QVERIFY2(line.contains(QStringLiteral("😀")) && line.contains(QStringLiteral("1")), qPrintable(line));
    setControl(window(), QStringLiteral("textBox"), QStringLiteral("中A"));
    settle();
    QVERIFY(window().findChild<QLabel*>(QStringLiteral("lackingLabel"))->text().isEmpty());
  }

  void aTooLongTextSaysSoAndKeepsTheText() {
    const QString text(4097 * 9, QChar(0x4E2D));
    setControl(window(), QStringLiteral("textBox"), text);
    settle();
    QVERIFY(window().output().failure);
    QVERIFY(!window().findChild<QPushButton*>(QStringLiteral("saveButton"))->isEnabled());
    QCOMPARE(window().findChild<QPlainTextEdit*>(QStringLiteral("textBox"))->toPlainText(), text);
  }

  void theControlsAreKeptBetweenRunsUntilDefaultsAreRestored() {
    setControl(window(), QStringLiteral("scanBox"), QStringLiteral("columns"));
    setControl(window(), QStringLiteral("formatBox"), QStringLiteral("sdcc"));
    setControl(window(), QStringLiteral("negativeCheck"), QStringLiteral("on"));
    setControl(window(), QStringLiteral("noCreditCheck"), QStringLiteral("on"));
    setControl(window(), QStringLiteral("saveEncodingBox"), QStringLiteral("GBK"));
    settle();
    window().close();
    m_window = std::make_unique<WorkbenchWindow>(LUMADOT_BIN_DIR);
    settle();
    const auto noCredit = [this] { return window().findChild<QCheckBox*>(QStringLiteral("noCreditCheck")); };
    QCOMPARE(window().settings().layout, (ByteLayout{Scan::columns, false, true}));
    QCOMPARE(window().settings().output.format, OutputFormat::sdcc);
    QCOMPARE(window().settings().output.source, (SourceOptions{false, SourceEncoding::gbk}));
    QVERIFY(noCredit()->isEnabled());
    QCOMPARE(window().settings().text, u"中A");
    window().restoreDefaults();
    settle();
    QCOMPARE(window().settings().layout, ByteLayout{});
    QCOMPARE(window().settings().output.format, OutputFormat::listing);
    QCOMPARE(window().settings().output.source, SourceOptions{});
    QVERIFY(!noCredit()->isEnabled());  // the listing keeps its credit lines
    QCOMPARE(window().settings().text, u"中A");
  }

  // An earlier version kept the scan and the format by their place in the box, the font's grid as a number.
  void anEarlierVersionsKeptControlsComeBack() {
    m_window.reset();
    {
      QSettings earlier;
      earlier.setValue("layout/scan", 3);
      earlier.setValue("output/format", 5);
      earlier.setValue("font/kind", 0);
      earlier.setValue("font/cell", "16");
      earlier.setValue("font/charset", 0);
      earlier.setValue("input/tab", 1);
    }
    m_window = std::make_unique<WorkbenchWindow>(LUMADOT_BIN_DIR);
    settle();
    QCOMPARE(window().settings().layout.scan, Scan::columnBands);
    QCOMPARE(window().settings().output.format, OutputFormat::sdcc);
    QCOMPARE(window().settings().font, FontChoice{});
    QCOMPARE(QSettings().value("layout/scan").toString(), QStringLiteral("column-bands"));
    QVERIFY(!QSettings().contains("input/tab"));
  }

  void itSpeaksEnglishWithItsTranslationAndChineseWithout() {
    QCOMPARE(window().windowTitle(), QStringLiteral("Lumadot 取模工作台"));
    const auto english = englishTranslation(QStringLiteral("lumadot-workbench"));
    const auto shared = sharedEnglish();
    QVERIFY(english && shared);
    QCoreApplication::installTranslator(english.get());
    QCoreApplication::installTranslator(shared.get());
    WorkbenchWindow translated(LUMADOT_BIN_DIR);
    QCOMPARE(translated.windowTitle(), QStringLiteral("Lumadot Glyph Workbench"));
    QCOMPARE(translated.findChild<QPushButton*>(QStringLiteral("copyButton"))->text(), QStringLiteral("Copy all"));
    QCOMPARE(translated.findChild<QGroupBox*>(QStringLiteral("signBox"))->title(), QStringLiteral("Sign"));
    QVERIFY(translated.findChild<QComboBox*>(QStringLiteral("formatBox"))->itemText(0).startsWith(QStringLiteral("Assembler")));
    QCOMPARE(translated.findChild<QLabel*>(QStringLiteral("frameLayoutLabel"))->text(),
             QStringLiteral("Sent in the byte layout the sign reads: 8*16 strips, bits reversed"));
    setControl(translated, QStringLiteral("textBox"), QStringLiteral("中A"));
    QTRY_VERIFY(!translated.busy());
    // A failed send says what failed and why in English too.
    const MissingPort port = missingPort();
    const std::vector<Message> shown = failedSend(translated, port);
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown[0], (Message{"Warning", "Could not open the port " + port.typed.toStdString() + "; it may be in use",
                                MessageIcon::warning, port.named + ": No such file or device"}));
    QCoreApplication::removeTranslator(english.get());
    QCoreApplication::removeTranslator(shared.get());
  }

  // The wheel over a box on the way down the controls moves the column, the sign's boxes too.
  void everyBoxOfTheControlsTakesTheWheelOnlyWithFocus() {
    auto* area = window().findChild<QScrollArea*>(QStringLiteral("controlsArea"));
    QVERIFY(area->findChild<QComboBox*>(QStringLiteral("speedBox")));
    for (const QWidget* box : area->findChildren<QComboBox*>()) QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
    for (const QWidget* box : area->findChildren<QAbstractSpinBox*>()) QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
  }

  void aFailedSendLeavesTheOutputAsItWas() {
    setControl(window(), QStringLiteral("formatBox"), QStringLiteral("c51"));
    settle();
    const QString before = boxText(window());
    const MissingPort port = missingPort();
    const std::vector<Message> shown = failedSend(window(), port);
    QCOMPARE(shown.size(), std::size_t{1});
    QCOMPARE(shown[0], (Message{"警告", "串口" + port.typed.toStdString() + "打开失败，可能正在使用中",
                                MessageIcon::warning, port.named + "：文件或设备不存在"}));
    QCOMPARE(boxText(window()), before);
    QCOMPARE(window().findChild<QPlainTextEdit*>(QStringLiteral("textBox"))->toPlainText(), QStringLiteral("中A"));
  }

  void aGlyphPickedInThePictureIsPickedInTheOutputAndBack_data() {
    QTest::addColumn<QString>("format");
    for (const char* format : {"汇编", "a51", "sdcc", "hex", "bin"}) QTest::newRow(format) << QString::fromUtf8(format);
  }

  void aGlyphPickedInThePictureIsPickedInTheOutputAndBack() {
    QFETCH(QString, format);
    setControl(window(), QStringLiteral("textBox"), QStringLiteral("中A中"));
    setControl(window(), QStringLiteral("formatBox"), format);
    settle();
    auto* dots = window().findChild<DotView*>(QStringLiteral("dotView"));
    auto* output = window().findChild<QPlainTextEdit*>(QStringLiteral("outputBox"));
    emit dots->glyphPicked(1);
    const QString picked = output->textCursor().selectedText();
    if (format == QLatin1String("hex") || format == QLatin1String("bin")) {
      QCOMPARE(picked, boxText(window()).split(QLatin1Char('\n'))[2]);  // A's 16 bytes: the third line
    } else {
      QVERIFY2(picked.contains(QStringLiteral("--------A--------")) && !picked.contains(QStringLiteral("中")),
               qPrintable(picked));
    }
    // The last 中: its header line, or the fourth 16 bytes (48 to 63) in the hex views.
    const bool hexView = format == QLatin1String("hex") || format == QLatin1String("bin");
    QTextCursor cursor(output->document());
    if (hexView) {
      cursor.movePosition(QTextCursor::NextBlock, QTextCursor::MoveAnchor, 3);
    } else {
      cursor.setPosition(static_cast<int>(output->toPlainText().lastIndexOf(QStringLiteral("--------中--------"))));
    }
    output->setTextCursor(cursor);
    QCOMPARE(dots->picked(), 2);
  }

  void typingIntoAFullBufferNeverWaitsForTheRun() {
    auto* box = window().findChild<QPlainTextEdit*>(QStringLiteral("textBox"));
    box->setPlainText(QString(2000, QChar(0x4E2D)));
    QElapsedTimer typing;
    typing.start();
    test::typeText(box, QStringLiteral("光临光临光临"));
    QVERIFY2(typing.elapsed() < 2000, qPrintable(QString::number(typing.elapsed())));
    settle();
    QCOMPARE(window().output().glyphs.glyphs.size(), std::size_t{2006});
  }
};

QTEST_MAIN(WorkbenchWindowTest)
#include "workbench_window_test.moc"
