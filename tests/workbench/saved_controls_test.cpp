// The workbench's kept controls: written by name, read back as they were, and
// an earlier version's places in a box read once and rewritten by name.
#include <QSettings>
#include <QTest>
#include <map>

#include "support/process.h"
#include "workbench/saved_controls.h"

using namespace lumadot;

Q_DECLARE_METATYPE(SavedControls)
using Kept = std::map<QString, QString>;  // key, value as the settings file holds it
Q_DECLARE_METATYPE(Kept)

class SavedControlsTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  QString file() const { return QString::fromStdU16String((m_dir.path() / "workbench.ini").u16string()); }

 private slots:
  void init() { QSettings(file(), QSettings::IniFormat).clear(); }

  void keptByNameAndReadBackAsSaved_data() {
    QTest::addColumn<SavedControls>("controls");
    QTest::addColumn<Kept>("kept");
    SavedControls first;
    first.font = SavedFont{};
    QTest::newRow("a first start's") << first
                                     << Kept{{"font/kind", "built"}, {"font/cell", "16"}, {"font/charset", "gb2312"},
                                             {"layout/scan", "rows"}, {"output/format", "listing"},
                                             {"output/encoding", "utf-8"}, {"output/prefix", "ZI"}, {"view/zoom", "8"}};
    SavedControls built;
    built.text = QStringLiteral("欢迎\n光临");
    built.font = SavedFont{false, {24, 24}, Charset::gbk, {}, 0};
    built.layout = {Scan::columnBands, true, true};
    built.format = OutputFormat::c51;
    built.prefix = QStringLiteral("LED");
    built.oneTable = true;
    built.noCredit = true;
    built.encoding = SourceEncoding::gbk;
    built.zoom = 14;
    QTest::newRow("built 24 GBK, c51") << built
                                       << Kept{{"input/text", "欢迎\n光临"}, {"font/kind", "built"}, {"font/cell", "24"},
                                               {"font/charset", "gbk"}, {"layout/scan", "column-bands"},
                                               {"layout/lsbFirst", "true"}, {"layout/negative", "true"},
                                               {"output/format", "c51"}, {"output/prefix", "LED"},
                                               {"output/table", "true"}, {"output/noCredit", "true"},
                                               {"output/encoding", "gbk"}, {"view/zoom", "14"}};
    SavedControls drawn;
    drawn.font = SavedFont{true, {}, Charset::gb2312, QStringLiteral("/fonts/wqy-zenhei.ttc"), 1};
    drawn.size = QStringLiteral("20x16");
    drawn.layout.scan = Scan::rowBands;
    drawn.format = OutputFormat::hex;
    drawn.subset = true;
    QTest::newRow("a collection's second face at 20x16, hex")
        << drawn
        << Kept{{"font/kind", "drawn"}, {"font/file", "/fonts/wqy-zenhei.ttc"}, {"font/face", "1"},
                {"font/size", "20x16"}, {"layout/scan", "row-bands"}, {"output/format", "hex"},
                {"output/subset", "true"}};
  }

  void keptByNameAndReadBackAsSaved() {
    QFETCH(SavedControls, controls);
    QFETCH(Kept, kept);
    {
      QSettings settings(file(), QSettings::IniFormat);
      controls.save(settings);
    }
    QSettings settings(file(), QSettings::IniFormat);
    for (const auto& [key, value] : kept) QCOMPARE(settings.value(key).toString(), value);
    QVERIFY(SavedControls::load(settings) == controls);
  }

  void anEarlierVersionsPlacesAreReadOnceByName_data() {
    QTest::addColumn<Kept>("earlier");
    QTest::addColumn<Kept>("rewritten");
    QTest::newRow("columns, c51, built GBK")
        << Kept{{"layout/scan", "2"}, {"output/format", "4"}, {"font/kind", "0"}, {"font/charset", "1"},
                {"font/cell", "24"}, {"input/tab", "1"}}
        << Kept{{"layout/scan", "columns"}, {"output/format", "c51"}, {"font/kind", "built"},
                {"font/charset", "gbk"}, {"font/cell", "24"}, {"input/tab", ""}};
    QTest::newRow("column bands, hex, a file")
        << Kept{{"layout/scan", "3"}, {"output/format", "7"}, {"font/kind", "2"}, {"font/charset", "0"},
                {"font/file", "/fonts/a.ttf"}}
        << Kept{{"layout/scan", "column-bands"}, {"output/format", "hex"}, {"font/kind", "drawn"},
                {"font/charset", "gb2312"}, {"font/file", "/fonts/a.ttf"}};
    QTest::newRow("the first items") << Kept{{"layout/scan", "0"}, {"output/format", "0"}}
                                     << Kept{{"layout/scan", "rows"}, {"output/format", "listing"}};
    QTest::newRow("a place past the box's end is left alone")
        << Kept{{"layout/scan", "4"}, {"output/format", "8"}} << Kept{{"layout/scan", "4"}, {"output/format", "8"}};
    QTest::newRow("names stay") << Kept{{"layout/scan", "row-bands"}, {"output/format", "sdas"}}
                                << Kept{{"layout/scan", "row-bands"}, {"output/format", "sdas"}};
  }

  void anEarlierVersionsPlacesAreReadOnceByName() {
    QFETCH(Kept, earlier);
    QFETCH(Kept, rewritten);
    QSettings settings(file(), QSettings::IniFormat);
    for (const auto& [key, value] : earlier) settings.setValue(key, value);
    const SavedControls loaded = SavedControls::load(settings);
    for (const auto& [key, value] : rewritten) QCOMPARE(settings.value(key).toString(), value);
    // Read again, the names give what the places gave.
    QVERIFY(SavedControls::load(settings) == loaded);
  }

  void whatThePlacesMeant() {
    QSettings settings(file(), QSettings::IniFormat);
    settings.setValue("layout/scan", 1);
    settings.setValue("output/format", 3);
    settings.setValue("font/kind", 2);
    settings.setValue("font/file", "/fonts/b.otf");
    settings.setValue("font/face", 2);
    const SavedControls loaded = SavedControls::load(settings);
    QCOMPARE(loaded.layout.scan, Scan::rowBands);
    QCOMPARE(loaded.format, OutputFormat::sdas);
    QVERIFY(loaded.font == (SavedFont{true, {}, Charset::gb2312, QStringLiteral("/fonts/b.otf"), 2}));
  }

  void noFontChosenLeavesTheKeptOne() {
    QSettings settings(file(), QSettings::IniFormat);
    SavedControls drawn;
    drawn.font = SavedFont{true, {}, Charset::gb2312, QStringLiteral("/fonts/c.ttf"), 0};
    drawn.save(settings);
    SavedControls none;
    none.save(settings);
    QCOMPARE(settings.value("font/file").toString(), QStringLiteral("/fonts/c.ttf"));
    QCOMPARE(settings.value("font/kind").toString(), QStringLiteral("drawn"));
  }
};

QTEST_GUILESS_MAIN(SavedControlsTest)
#include "saved_controls_test.moc"
