#include "support/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTest>

namespace lumadot::test {

QRect fromTwips(int left, int top, int width, int height) {
  return {left / 15, top / 15, width / 15, height / 15};
}

QString captionOf(const QWidget& widget) {
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) return button->text();
  if (const auto* group = qobject_cast<const QGroupBox*>(&widget)) return group->title();
  if (const auto* box = qobject_cast<const QComboBox*>(&widget)) return box->currentText();
  if (const auto* edit = qobject_cast<const QPlainTextEdit*>(&widget)) return edit->toPlainText();
  return QStringLiteral("<no caption>");
}

bool captionFits(const QWidget& widget) {
  const QFontMetrics metrics(widget.font());
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    return label->wordWrap() || metrics.horizontalAdvance(label->text()) <= label->contentsRect().width();
  }
  if (const auto* box = qobject_cast<const QCheckBox*>(&widget)) {
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const QRect contents = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
    return metrics.horizontalAdvance(box->text()) <= contents.width();
  }
  if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
    const int margins = 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    return metrics.horizontalAdvance(button->text()) + margins <= button->width();
  }
  return true;
}

QString controlName(const QWidget* widget, const QWidget& window) {
  for (; widget && widget != &window; widget = widget->parentWidget()) {
    if (widget->parentWidget() && !widget->objectName().isEmpty() && !widget->objectName().startsWith(u"qt_")) {
      return widget->objectName();
    }
  }
  return {};
}

void typeText(QWidget* widget, const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, c.toLatin1());
    } else {
      const qsizetype length = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
      i += length - 1;
    }
  }
}

QStringList tabOrder(QWidget& window, const QString& first) {
  window.findChild<QWidget*>(first)->setFocus();
  QStringList visited{controlName(QApplication::focusWidget(), window)};
  for (int step = 0; step < 100; ++step) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    const QString name = controlName(QApplication::focusWidget(), window);
    if (name == first) break;
    visited << name;
  }
  return visited;
}

}  // namespace lumadot::test
