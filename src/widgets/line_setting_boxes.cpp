#include "widgets/line_setting_boxes.h"

#include <QComboBox>
#include <QStringList>

#include "serial/port_mapping.h"
#include "serial/port_names.h"

namespace lumadot {
namespace {

void fillEditable(QComboBox& box, const QStringList& items) {
  box.clear();
  box.addItems(items);
  box.setEditable(true);
  box.setInsertPolicy(QComboBox::NoInsert);
  box.setCompleter(nullptr);
}

}  // namespace

void showStartTextUnselected(QComboBox& box) {
  const QString start = box.currentText();
  box.setCompleter(nullptr);
  box.setCurrentIndex(-1);
  box.setEditText(start);
}

void fillLineSettingBoxes(QComboBox& baud, QComboBox& parity, QComboBox& dataBits, QComboBox& stopBits) {
  fillEditable(baud, {QStringLiteral("110"), QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200"),
                      QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("14400"),
                      QStringLiteral("19200"), QStringLiteral("28800"), QStringLiteral("38400"),
                      QStringLiteral("56000"), QStringLiteral("57600"), QStringLiteral("115200"),
                      QStringLiteral("12800"), QStringLiteral("25600")});
  fillEditable(parity, {QStringLiteral("E"), QStringLiteral("M"), QStringLiteral("N"), QStringLiteral("O"),
                        QStringLiteral("S")});
  fillEditable(dataBits, {QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
                          QStringLiteral("8")});
  fillEditable(stopBits, {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")});
}

void fillPortBox(QComboBox& box) {
  fillEditable(box, {});
  for (const ListedPort& port : listedPorts()) {
    const QString device = QString::fromStdString(port.device);
    const QString description = QString::fromStdString(port.description);
    box.addItem(description.isEmpty() ? device : device + QStringLiteral(" — ") + description, device);
  }
  for (int number = 1; number <= kPortCount; ++number) {
    const QString name = QString::fromStdU16String(portName(number));
    box.addItem(name, name);
  }
}

QString portBoxText(const QComboBox& box) {
  const QString text = box.currentText();
  const int listed = box.findText(text, Qt::MatchExactly);
  return listed >= 0 ? box.itemData(listed).toString() : text;
}

void setPortBoxText(QComboBox& box, const QString& port) {
  const int listed = box.findData(port);
  box.setCurrentIndex(listed);
  if (listed < 0) box.setEditText(port);
}

}  // namespace lumadot
