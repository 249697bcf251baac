// Which locales our windows speak English under: the locale names as LANG and LC_ALL carry them;
// and failures as the core reports them, said in a window's language.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include "base/file_writer.h"
#include "frame/display_frame.h"
#include "picture/picture.h"
#include "serial/send_request.h"
#include "support/named_rows.h"
#include "widgets/failure_words.h"
#include "widgets/translation.h"

namespace lumadot {
namespace {

using test::PrintTo;

struct LocaleCase {
  const char* name;
  bool english;
};

class TranslationChoice : public testing::TestWithParam<LocaleCase> {};

TEST_P(TranslationChoice, EnglishUnlessChineseOrC) {
  EXPECT_EQ(wantsEnglish(QLocale(QString::fromLatin1(GetParam().name))), GetParam().english) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Locales, TranslationChoice,
                         testing::Values(LocaleCase{"en_US.UTF-8", true}, LocaleCase{"zh_CN.UTF-8", false},
                                         LocaleCase{"C", false}, LocaleCase{"de_DE", true},
                                         LocaleCase{"zh_TW", false}, LocaleCase{"POSIX", false},
                                         LocaleCase{"C.UTF-8", false}, LocaleCase{"en_GB@euro", true},
                                         LocaleCase{"zh_HK.UTF-8", false}, LocaleCase{"", false}));

TEST(EnglishTranslation, AbsentForAProgramWithoutOne) {
  EXPECT_EQ(englishTranslation(QStringLiteral("no-such-program")), nullptr);
}

// A message box's buttons in Chinese: Qt's own translation, from the first folder that holds it.
TEST(QtChinese, FromTheFirstFolderHoldingIt) {
  const QString system = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  EXPECT_EQ(qtChinese({QStringLiteral("/nonexistent")}), nullptr);
  const auto chinese = qtChinese({QStringLiteral("/nonexistent"), system});
  ASSERT_NE(chinese, nullptr) << "no qtbase_zh_CN.qm in " << system.toStdString();
  EXPECT_EQ(chinese->translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
  EXPECT_EQ(qtTranslationFolders().constLast(), system);
}

struct FailureCase {
  const char* name;
  Failure (*failure)();
  Message chinese;  // as the source says it, and the main window
  Message english;  // under our windows' shared translation
};

class FailureWording : public testing::TestWithParam<FailureCase> {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "translation_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
  }
};

Failure sent(SendBoxes boxes) { return sendRequest(boxes).error(); }

TEST_P(FailureWording, InTheWindowsLanguage) {
  const Failure failure = GetParam().failure();
  EXPECT_EQ(windowWarning(failure), GetParam().chinese);
  const auto english = sharedEnglish();
  ASSERT_TRUE(english && QCoreApplication::installTranslator(english.get()));
  EXPECT_EQ(windowWarning(failure), GetParam().english);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailureWording,
    testing::Values(
        FailureCase{"PortTextNamingNoPort", [] { return sent({.port = u"COM1"}); },
                    {"警告", "串口COM1打开失败，可能正在使用中", MessageIcon::warning,
                     "“COM1”不是串口名：串口名为 com1 到 com16（小写），或设备的路径（/dev/ttyUSB0）。comN 指向 "
                     "LUMADOT_COMn 所指的设备（LUMADOT_COM1=/dev/ttyUSB0 让 com1 指向该设备）；“lumadot-cli ports”列出"
                     "每个 comN 指向哪里"},
                    {"Warning", "Could not open the port COM1; it may be in use", MessageIcon::warning,
                     "\"COM1\" is not a port name: ports are named com1 to com16, in lower case, or a device by its "
                     "path (/dev/ttyUSB0). comN leads to the device that LUMADOT_COMn names (LUMADOT_COM1=/dev/ttyUSB0 "
                     "makes com1 that device); 'lumadot-cli ports' shows where each comN leads"}},
        FailureCase{"Parity", [] { return sent({.parity = u"X"}); },
                    {"警告", "串口com1打开失败，可能正在使用中", MessageIcon::warning,
                     "校验位“X”无效：应是 E、M、N、O、S 之一"},
                    {"Warning", "Could not open the port com1; it may be in use", MessageIcon::warning,
                     "The parity \"X\" is not one of E, M, N, O, S"}},
        FailureCase{"CommaInABox", [] { return sent({.baud = u"9600,N"}); },
                    {"警告", "串口com1打开失败，可能正在使用中", MessageIcon::warning,
                     "串口设置“9600,N,E,8,1”有 5 项，不是“波特率,校验位,数据位,停止位”4 项：框里不能有逗号"},
                    {"Warning", "Could not open the port com1; it may be in use", MessageIcon::warning,
                     "The line settings \"9600,N,E,8,1\" have 5 fields, not the 4 of baud,parity,data bits,stop bits: "
                     "no box may hold a comma"}},
        FailureCase{"SpeedBox", [] { return sent({.speed = u"0"}); },
                    {"警告", "显示速度“0”无效", MessageIcon::warning, ""},
                    {"Warning", "The display speed \"0\" is not valid", MessageIcon::warning, ""}},
        FailureCase{"FileInAMissingFolder",
                    [] { return replaceFile("/nonexistent/lumadot/glyphs.c", std::string_view("x")).error(); },
                    {"警告", "无法写入/nonexistent/lumadot/glyphs.c", MessageIcon::warning, "文件或设备不存在"},
                    {"Warning", "Cannot write /nonexistent/lumadot/glyphs.c", MessageIcon::warning,
                     "No such file or device"}},
        FailureCase{"FrameTooWideIsItsOwnCause", [] { return frameFields(1000, 5, 0).error(); },
                    {"警告", "文字宽 1000 列，而一帧最多 493 列", MessageIcon::warning, ""},
                    {"Warning", "The text is 1000 columns wide, and a frame holds at most 493", MessageIcon::warning, ""}},
        FailureCase{"NotAPicture",
                    [] {
                      const std::uint8_t bytes[] = {'t', 'e', 'x', 't'};
                      return readPicture(bytes, "a.png").error();
                    },
                    {"警告", "无法读取图片a.png", MessageIcon::warning, "不是 PNG、BMP、GIF 或 JPEG 图片"},
                    {"Warning", "Cannot read the picture a.png", MessageIcon::warning,
                     "Not a PNG, BMP, GIF or JPEG picture"}},
        FailureCase{"WordedByTheCoreOnly", [] { return Failure("无法启动取模工作台", "why"); },
                    {"警告", "无法启动取模工作台", MessageIcon::warning, "why"},
                    {"Warning", "无法启动取模工作台", MessageIcon::warning, "why"}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace lumadot
