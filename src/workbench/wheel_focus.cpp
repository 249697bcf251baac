#include "workbench/wheel_focus.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace lumadot {
namespace {

class UnfocusedWheelPasses final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus()) return false;
    // Ignored and filtered, the event goes on to the parent, as the box never had it.
    event->ignore();
    return true;
  }
};

}  // namespace

void wheelOnlyWhenFocused(QWidget& area) {
  auto* filter = new UnfocusedWheelPasses(&area);
  QList<QWidget*> boxes;
  for (QComboBox* box : area.findChildren<QComboBox*>()) boxes << box;
  for (QAbstractSpinBox* box : area.findChildren<QAbstractSpinBox*>()) boxes << box;
  for (QWidget* box : boxes) {
    box->setFocusPolicy(Qt::StrongFocus);
    box->installEventFilter(filter);
  }
}

}  // namespace lumadot
