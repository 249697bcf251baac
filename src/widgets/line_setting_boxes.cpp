#include "widgets/line_setting_boxes.h"

#include <QComboBox>

namespace lumadot {

void showStartTextUnselected(QComboBox& box) {
  const QString start = box.currentText();
  box.setCompleter(nullptr);
  box.setCurrentIndex(-1);
  box.setEditText(start);
}

}  // namespace lumadot
