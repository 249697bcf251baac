// The workbench's dot picture and detect dialog, on the offscreen platform.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QTest>
#include <filesystem>
#include <set>

#include "extract/glyph_entries.h"
#include "extract/glyphs.h"
#include "preview/dot_picture.h"
#include "support/process.h"
#include "support/synthetic_fonts.h"
#include "workbench/detect_dialog.h"
#include "workbench/dot_view.h"
#include "workbench/scan_pictures.h"
#include "workbench/wheel_focus.h"

using namespace lumadot;

Q_DECLARE_METATYPE(lumadot::ByteLayout)

namespace {

const FontPaths kBuiltFonts = FontPaths::inDirectory(LUMADOT_BIN_DIR);

QString hexBytes(const std::vector<std::uint8_t>& bytes) {
  QStringList spelled;
  for (const std::uint8_t b : bytes) spelled << QStringLiteral("0%1H").arg(b, 2, 16, QChar(u'0')).toUpper();
  return QStringLiteral("DB ") + spelled.join(u',');
}

}  // namespace

class WorkbenchWidgetsTest : public QObject {
  Q_OBJECT

 private slots:
  void dotTextNamesTheByteThatHoldsTheDot_data();
  void dotTextNamesTheByteThatHoldsTheDot();
  void clickPicksAndPickedIsOutlined();
  void zoomSizesTheView();
  void scanPicturesDiffer();
  void detectDialogFindsTheLayout_data();
  void detectDialogFindsTheLayout();
  void boxesInTheScrollAreaTakeTheWheelOnlyWithFocus_data();
  void boxesInTheScrollAreaTakeTheWheelOnlyWithFocus();

 private:
  test::TempDir m_dir;
};

void WorkbenchWidgetsTest::dotTextNamesTheByteThatHoldsTheDot_data() {
  QTest::addColumn<int>("cell");
  QTest::addColumn<ByteLayout>("layout");
  for (const int cell : {16, 24}) {
    for (const ByteLayout& layout : allLayouts()) {
      QTest::addRow("%d %s%s%s", cell, scanName(layout.scan).data(), layout.lsbFirst ? " lsb" : "",
                    layout.negative ? " negative" : "")
          << cell << layout;
    }
  }
}

// Every dot's text names a byte and bit of its own glyph that holds that very
// dot, as the run's bytes have it, and no two dots share one.
void WorkbenchWidgetsTest::dotTextNamesTheByteThatHoldsTheDot() {
  QFETCH(int, cell);
  QFETCH(ByteLayout, layout);
  const auto dir = m_dir.path() / std::to_string(cell);
  std::filesystem::create_directories(dir);
  const auto fonts = test::writeSyntheticFonts(dir, {cell, cell}, Charset::gb2312);
  const auto glyphs = lookUp(u"中A", layout, fonts);
  QVERIFY(glyphs);
  DotView view;
  view.setGlyphs(*glyphs, layout);
  const DotPicture picture = drawGlyphs(glyphEntries(*glyphs), layout);
  const QRegularExpression words(QStringLiteral("^「(.)」第(\\d+)字节，位([0-7])：0x([0-9A-F]{2})$"));
  std::set<std::pair<int, int>> places;  // byte in the run, bit
  for (int x = 0; x < picture.width(); ++x) {
    for (int y = 0; y < cell; ++y) {
      const auto match = words.match(view.dotText(x, y));
      QVERIFY2(match.hasMatch(), qPrintable(view.dotText(x, y)));
      const Glyph& glyph = glyphs->glyphs[x < cell ? 0 : 1];
      QCOMPARE(match.captured(1), QString::fromStdU16String(glyph.character));
      const int byte = match.captured(2).toInt() - 1, bit = match.captured(3).toInt();
      QVERIFY(byte >= 0 && static_cast<std::size_t>(byte) < glyph.size);
      const unsigned value = glyphs->bytes[glyph.offset + static_cast<std::size_t>(byte)];
      QCOMPARE(match.captured(4).toUInt(nullptr, 16), value);
      QCOMPARE(((value >> bit) & 1U) != layout.negative, picture.lit(x, y));
      QVERIFY(places.emplace(static_cast<int>(glyph.offset) + byte, bit).second);
    }
  }
  QVERIFY(view.dotText(picture.width(), 0).isEmpty());
  QVERIFY(view.dotText(0, cell).isEmpty());
  QVERIFY(view.dotText(-1, 0).isEmpty());
}

void WorkbenchWidgetsTest::clickPicksAndPickedIsOutlined() {
  const auto glyphs = lookUp(u"中A中", {}, kBuiltFonts);
  QVERIFY(glyphs);
  DotView view;
  view.setGlyphs(*glyphs, {});
  view.setZoom(10);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  QSignalSpy picked(&view, &DotView::glyphPicked);
  QSignalSpy hovered(&view, &DotView::hovered);
  QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(20 * 10 + 5, 3 * 10));  // in A, columns 16..23
  QCOMPARE(picked.count(), 1);
  QCOMPARE(picked.at(0).at(0).toInt(), 1);
  QCOMPARE(view.picked(), 1);
  QTest::mouseMove(&view, QPoint(30 * 10 + 5, 2 * 10 + 5));
  QVERIFY(!hovered.isEmpty());
  QCOMPARE(hovered.last().at(0).toString(), view.dotText(30, 2));

  // The outline runs down the picked glyph's left edge, and the others have none.
  const auto edge = [&](int column) { return view.grab().toImage().pixelColor(column * 10, 85); };
  const QColor unpicked = edge(24);
  view.setPicked(2);
  QVERIFY(edge(24) != unpicked);
  QCOMPARE(edge(16), unpicked);
  view.setPicked(-1);
  QCOMPARE(edge(24), unpicked);
  view.setPicked(7);  // no such glyph
  QCOMPARE(view.picked(), -1);
}

void WorkbenchWidgetsTest::zoomSizesTheView() {
  const auto glyphs = lookUp(u"中A", {}, kBuiltFonts);
  QVERIFY(glyphs);
  DotView view;
  view.setGlyphs(*glyphs, {});
  view.setZoom(5);
  QCOMPARE(view.sizeHint(), QSize(24 * 5, 16 * 5));
  QTest::keyClick(&view, Qt::Key_Plus);
  QCOMPARE(view.zoom(), 6);
  QWheelEvent up(QPointF(1, 1), QPointF(1, 1), {}, QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                 Qt::NoScrollPhase, false);
  QApplication::sendEvent(&view, &up);
  QCOMPARE(view.zoom(), 7);
  QWheelEvent plain(QPointF(1, 1), QPointF(1, 1), {}, QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&view, &plain);  // scrolls, does not zoom
  QCOMPARE(view.zoom(), 7);
  view.setZoom(100);
  QCOMPARE(view.zoom(), DotView::kMaxZoom);
  QCOMPARE(view.sizeHint(), QSize(24 * 40, 16 * 40));
  view.setZoom(0);
  QTest::keyClick(&view, Qt::Key_Minus);
  QCOMPARE(view.zoom(), DotView::kMinZoom);
  view.showPanel(DotPicture(std::vector<std::uint16_t>(128, 0xFFFF)));
  QCOMPARE(view.sizeHint(), QSize(128, 16));
  QVERIFY(!view.dotText(0, 0).isEmpty());  // the run's dots stay named under the panel
}

void WorkbenchWidgetsTest::scanPicturesDiffer() {
  std::vector<QImage> pictures;
  for (const Scan scan : kScans) {
    const QPixmap picture = scanOrderPicture(scan, 64);
    QCOMPARE(picture.size(), QSize(64, 64));
    pictures.push_back(picture.toImage());
  }
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    for (std::size_t j = i + 1; j < pictures.size(); ++j) QVERIFY(pictures[i] != pictures[j]);
  }
}

void WorkbenchWidgetsTest::detectDialogFindsTheLayout_data() {
  QTest::addColumn<ByteLayout>("made");
  QTest::addColumn<int>("cut");  // bytes left off the end
  QTest::addColumn<bool>("found");
  QTest::addColumn<QString>("says");
  QTest::addColumn<QString>("typed");  // the characters the bytes are said to be; they are 中A's
  QTest::newRow("columns lsb-first") << ByteLayout{Scan::columns, true, false} << 0 << true
                                     << QStringLiteral("纵向逐列，低位在前，1为亮") << QStringLiteral("中A");
  QTest::newRow("row-bands negative") << ByteLayout{Scan::rowBands, false, true} << 0 << true
                                      << QStringLiteral("横向分带") << QStringLiteral("中A");
  QTest::newRow("one byte short") << ByteLayout{Scan::columns, true, false} << 1 << false
                                  << QStringLiteral("有47个字节") << QStringLiteral("中A");
  // Refused as lumadot-cli detect refuses them.
  QTest::newRow("a symbol") << ByteLayout{Scan::columns, true, false} << 0 << false
                            << QStringLiteral("“，”不是汉字：符号的字形因字库而异，无法据此判断排列；请给出汉字（如“国”）的字节")
                            << QStringLiteral("中，");
  QTest::newRow("blank glyphs") << ByteLayout{Scan::columns, true, false} << 32 << false
                                << QStringLiteral("我们的“  ”字形是空白的，没有可以与字节比较的") << QStringLiteral("  ");
}

void WorkbenchWidgetsTest::detectDialogFindsTheLayout() {
  QFETCH(ByteLayout, made);
  QFETCH(int, cut);
  QFETCH(bool, found);
  QFETCH(QString, says);
  QFETCH(QString, typed);
  auto given = lookUp(u"中A", made, kBuiltFonts);
  QVERIFY(given);
  given->bytes.resize(given->bytes.size() - static_cast<std::size_t>(cut));
  DetectDialog dialog([](const std::u16string& characters) -> Result<std::vector<GlyphPicture>> {
    auto ours = lookUp(characters, {}, kBuiltFonts);
    if (!ours) return ours.error();
    std::vector<GlyphPicture> pictures;
    for (const GlyphEntry& entry : glyphEntries(*ours)) pictures.push_back(decodeGlyph(entry.bytes, entry.dots, {}));
    return pictures;
  });
  dialog.findChild<QPlainTextEdit*>("bytes")->setPlainText(hexBytes(given->bytes));
  auto* apply = dialog.findChild<QPushButton*>("apply");
  QVERIFY(!apply->isEnabled());  // no characters yet
  dialog.findChild<QLineEdit*>("characters")->setText(typed);
  const QString verdict = dialog.findChild<QLabel*>("verdict")->text();
  QVERIFY2(verdict.contains(says), qPrintable(verdict));
  QCOMPARE(dialog.found(), found);
  QCOMPARE(apply->isEnabled(), found);
  if (!found) return;
  QCOMPARE(dialog.chosenLayout(), made);
  // The picture is of the pasted bytes: its hover names them.
  QVERIFY(dialog.findChild<DotView*>("picture")->dotText(0, 0).startsWith(QStringLiteral("「中」第")));
  apply->click();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void WorkbenchWidgetsTest::boxesInTheScrollAreaTakeTheWheelOnlyWithFocus_data() {
  QTest::addColumn<bool>("spin");
  QTest::addColumn<bool>("focused");
  QTest::newRow("combo box, unfocused") << false << false;
  QTest::newRow("combo box, focused") << false << true;
  QTest::newRow("spin box, unfocused") << true << false;
  QTest::newRow("spin box, focused") << true << true;
}

// A box's own wheel handling accepts the event; one passed by leaves it
// ignored, which is what sends it on to the scroll area.
void WorkbenchWidgetsTest::boxesInTheScrollAreaTakeTheWheelOnlyWithFocus() {
  QFETCH(bool, spin);
  QFETCH(bool, focused);
  QScrollArea area;
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* combo = new QComboBox;
  combo->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  combo->setCurrentIndex(1);
  auto* spinBox = new QSpinBox;
  spinBox->setValue(5);
  layout->addWidget(combo);
  layout->addWidget(spinBox);
  layout->addSpacing(2000);
  area.setWidget(page);
  area.resize(200, 150);
  wheelOnlyWhenFocused(area);
  area.show();
  area.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&area));
  QWidget* box = spin ? static_cast<QWidget*>(spinBox) : combo;
  QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
  QWidget* other = spin ? static_cast<QWidget*>(combo) : spinBox;
  (focused ? box : other)->setFocus();
  QCOMPARE(box->hasFocus(), focused);

  const QPointF at = box->rect().center();
  QWheelEvent wheel(at, box->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(box, &wheel);
  QCOMPARE(wheel.isAccepted(), focused);
  QCOMPARE(spin ? spinBox->value() != 5 : combo->currentIndex() != 1, focused);
}

QTEST_MAIN(WorkbenchWidgetsTest)
#include "workbench_widgets_test.moc"
