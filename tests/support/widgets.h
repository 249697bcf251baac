#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace lumadot::test {

// A position or size given in twips, in pixels at 96 dpi.
QRect fromTwips(int left, int top, int width, int height);

// What the user reads on a control: a label's or button's text, a group
// box's title, a text box's or drop-down box's edit text.
QString captionOf(const QWidget& widget);

// Whether a one-line label, check box or push button shows its whole caption
// in the current font, unclipped. Other controls count as fitting.
bool captionFits(const QWidget& widget);

// The named child of `window` (its nearest named ancestor for inner widgets
// such as a drop-down box's line edit), or "" for none.
QString controlName(const QWidget* widget, const QWidget& window);

// Types text as key presses, Chinese and other non-ASCII characters included
// (QTest::keyClicks only knows ASCII).
void typeText(QWidget* widget, const QString& text);

// Presses Tab from the window's first control until the focus comes back,
// and returns the controls it visited.
QStringList tabOrder(QWidget& window, const QString& first);

}  // namespace lumadot::test
