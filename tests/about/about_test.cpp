// The About and usage windows on their own, with recorders standing in for
// the desktop's link handler and the message boxes.
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "about/contact_links.h"
#include "about/form2.h"
#include "about/form3.h"
#include "base/version.h"
#include "support/widgets.h"

using namespace lumadot;

namespace {

struct Recorded {
  QStringList links;
  QStringList commandLines;
  std::vector<Message> messages;
};

ContactActions recordingActions(Recorded& recorded, bool linksOpen, bool useCommandLine) {
  ContactActions actions;
  actions.openLink = [&recorded, linksOpen](const QUrl& url) {
    recorded.links << url.toString();
    return linksOpen;
  };
  if (useCommandLine) {
    actions.startCommandLine = [&recorded, linksOpen](const QString& line) {
      recorded.commandLines << line;
      return linksOpen;
    };
  }
  actions.showMessage = [&recorded](const Message& message) { recorded.messages.push_back(message); };
  return actions;
}

const QString kMessengerLink = QStringLiteral("tencent://message/?uin=800000000&Site=Lumadot&Menu=yes");

}  // namespace

class AboutTest : public QObject {
  Q_OBJECT

 private slots:
  void links();
  void browserCommandLine_data();
  void browserCommandLine();
  void layout_data();
  void layout();
  void aboutWindowIsCentred();
  void usageText();
  void contactButtons_data();
  void contactButtons();
};

void AboutTest::links() {
  QCOMPARE(messengerLink(), kMessengerLink);
  QVERIFY(messengerLink().indexOf(u"uin=") < messengerLink().indexOf(u"&Site="));
  QVERIFY(messengerLink().indexOf(u"&Site=") < messengerLink().indexOf(u"&Menu="));
  QCOMPARE(mailLink(), QStringLiteral("mailto:lumadot@example.com"));
}

void AboutTest::browserCommandLine_data() {
  QTest::addColumn<QString>("windir");
  QTest::addColumn<QString>("expected");
  const QString browser = QStringLiteral(R"(Program Files\Internet Explorer\IEXPLORE.EXE )") + kMessengerLink;
  QTest::newRow("drive D") << QStringLiteral(R"(D:\WINDOWS)") << QStringLiteral(R"(D:\)") + browser;
  QTest::newRow("drive C") << QStringLiteral(R"(C:\Windows)") << QStringLiteral(R"(C:\)") + browser;
  QTest::newRow("bare drive") << QStringLiteral(R"(E:\)") << QStringLiteral(R"(E:\)") + browser;
  QTest::newRow("shorter than a drive") << QStringLiteral("E:") << QStringLiteral("E:") + browser;
  QTest::newRow("unset") << QString() << browser;
}

void AboutTest::browserCommandLine() {
  QFETCH(QString, windir);
  QFETCH(QString, expected);
  QCOMPARE(lumadot::browserCommandLine(windir), expected);
}

void AboutTest::layout_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("caption");  // a prefix for the texts of our own wording
  QTest::addColumn<QRect>("geometry");
  auto row = [](const char* tag, const char* window, const char* kind, const char16_t* caption, int left, int top,
                int width, int height) {
    QTest::newRow(tag) << QString::fromLatin1(window) << QString::fromLatin1(kind) << QString::fromUtf16(caption)
                       << test::fromTwips(left, top, width, height);
  };
  row("Form2.Command1", "Form2", "QPushButton", u"确定", 1080, 360, 1455, 495);
  row("Form2.Label1", "Form2", "QLabel", u"作者：", 1200, 1080, 1575, 255);
  row("Form2.Label2", "Form2", "QLabel", u"", 120, 1440, 3375, 495);
  row("Form2.Command2", "Form2", "QPushButton", u"给作者QQ留言", 120, 2280, 1455, 375);
  row("Form2.Command3", "Form2", "QPushButton", u"给作者发送邮件", 1920, 2280, 1575, 375);
  row("Form3.Label1", "Form3", "QLabel", u"\n", 120, 0, 7575, 6255);
  row("Form3.Command1", "Form3", "QPushButton", u"确定", 5280, 5160, 1335, 375);
}

void AboutTest::layout() {
  QFETCH(QString, window);
  QFETCH(QString, kind);
  QFETCH(QString, caption);
  QFETCH(QRect, geometry);
  QWidget mainWindow;
  Recorded recorded;
  std::unique_ptr<QDialog> dialog;
  if (window == u"Form2") {
    dialog = std::make_unique<Form2>(&mainWindow, recordingActions(recorded, true, false));
  } else {
    dialog = std::make_unique<Form3>(&mainWindow);
  }
  dialog->show();
  const QString name = QString::fromLatin1(QTest::currentDataTag()).section(u'.', 1);
  const QWidget* widget = dialog->findChild<QWidget*>(name);
  QVERIFY(widget);
  QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), kind);
  QVERIFY(test::captionOf(*widget).startsWith(caption));
  QVERIFY(!test::captionOf(*widget).isEmpty());
  QCOMPARE(widget->geometry(), geometry);
  QVERIFY2(test::captionFits(*widget), "the caption is clipped");

  const bool about = window == u"Form2";
  QCOMPARE(dialog->size(), about ? QSize(244, 191) : QSize(521, 432));
  QCOMPARE(dialog->maximumSize(), dialog->size());
  QCOMPARE(dialog->windowTitle(), about ? QStringLiteral("Lumadot") : QStringLiteral("Lumadot-------使用说明"));
  QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
  QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
  QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
  // Labels take no focus: the window opens on "确定", and Tab walks the buttons.
  const QStringList order = about ? QStringList{"Command1", "Command2", "Command3"} : QStringList{"Command1"};
  QCOMPARE(test::tabOrder(*dialog, QStringLiteral("Command1")), order);
}

void AboutTest::aboutWindowIsCentred() {
  Recorded recorded;
  Form2 about(nullptr, recordingActions(recorded, true, false));
  const QPoint screenCentre = QGuiApplication::primaryScreen()->availableGeometry().center();
  QVERIFY((about.geometry().center() - screenCentre).manhattanLength() <= 2);
}

void AboutTest::usageText() {
  Form3 usage(nullptr);
  const QStringList lines = usage.findChild<QLabel*>(QStringLiteral("Label1"))->text().split(u'\n');
  QCOMPARE(lines.size(), 17);
  QCOMPARE(lines[0], QString());
  QVERIFY(lines[1].startsWith(u"          "));
  QCOMPARE(lines[1].trimmed(), QStringLiteral("Lumadot\u3000V" LUMADOT_VERSION));
  QCOMPARE(lines[2], QString());
  QCOMPARE(lines[3], QStringLiteral("使用说明："));
  QCOMPARE(lines[4], QStringLiteral("\u3000"));
  const QStringList points{
      QStringLiteral("1.在文本输入框输入文字，点击取模即可"),
      QStringLiteral("2.可选择字节倒序，字节倒序是专为一些液晶显示屏与特殊显示屏提供"),
      QStringLiteral("3.可选择8*16格式，这是为汉字与数字混合显示而提供，如未选中则按默认格式取模"),
      QStringLiteral("4.选中取模并发送可在取模完毕后直接利用计算机自带串口进行广播方式发送"),
      QStringLiteral("5.其余选项为串口通讯参数"),
      QStringLiteral("6.如在第一次使用时出错，请注册软件控件，方法为右击MSCOMM32.INF选安装，MSCOMM32.DLL为串口通讯控件"),
  };
  for (int i = 0; i < points.size(); ++i) {
    QCOMPARE(lines[5 + 2 * i], QStringLiteral("\u3000\u3000") + points[i]);
    QCOMPARE(lines[6 + 2 * i], QString());
  }
  QVERIFY(usage.findChild<QLabel*>(QStringLiteral("Label1"))->wordWrap());
}

void AboutTest::contactButtons_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<bool>("useCommandLine");  // how Windows starts the messenger link
  QTest::addColumn<bool>("linksOpen");
  QTest::addColumn<QString>("expectedLink");
  QTest::addColumn<QString>("expectedCommandLine");
  const QString onDriveD = QStringLiteral(R"(D:\Program Files\Internet Explorer\IEXPLORE.EXE )") + kMessengerLink;
  const QString mail = QStringLiteral("mailto:lumadot@example.com");
  QTest::newRow("messenger, desktop handler") << "Command2" << false << true << kMessengerLink << QString();
  QTest::newRow("messenger, no handler") << "Command2" << false << false << kMessengerLink << QString();
  QTest::newRow("messenger, Windows browser") << "Command2" << true << true << QString() << onDriveD;
  QTest::newRow("messenger, no browser") << "Command2" << true << false << QString() << onDriveD;
  QTest::newRow("mail") << "Command3" << false << true << mail << QString();
  QTest::newRow("mail, no mail program") << "Command3" << true << false << mail << QString();
}

void AboutTest::contactButtons() {
  QFETCH(QString, button);
  QFETCH(bool, useCommandLine);
  QFETCH(bool, linksOpen);
  QFETCH(QString, expectedLink);
  QFETCH(QString, expectedCommandLine);
  qputenv("WINDIR", R"(D:\WINDOWS)");
  QWidget mainWindow;
  mainWindow.setEnabled(false);
  Recorded recorded;
  QPointer<Form2> about = new Form2(&mainWindow, recordingActions(recorded, linksOpen, useCommandLine));
  about->show();

  QTest::mouseClick(about->findChild<QPushButton*>(button), Qt::LeftButton);
  QCOMPARE(recorded.links, expectedLink.isEmpty() ? QStringList{} : QStringList{expectedLink});
  QCOMPARE(recorded.commandLines, expectedCommandLine.isEmpty() ? QStringList{} : QStringList{expectedCommandLine});
  if (linksOpen) {
    QVERIFY(recorded.messages.empty());
  } else {
    // Nothing took the link: the user gets it to copy.
    QCOMPARE(recorded.messages.size(), size_t{1});
    QCOMPARE(recorded.messages[0].icon, MessageIcon::warning);
    const QString shown = QString::fromStdString(recorded.messages[0].text);
    QVERIFY2(shown.endsWith(u'\n' + (button == u"Command2" ? kMessengerLink : expectedLink)), qPrintable(shown));
  }
  QVERIFY(about && about->isVisible());
  QVERIFY(!mainWindow.isEnabled());
  delete about.data();
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
