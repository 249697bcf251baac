#pragma once

#include <QString>

class QComboBox;

namespace lumadot {

// A port or line-setting box as every window has it: its start text shown
// with no list entry selected, and completing nothing, since its text is
// taken whole and "1" must stay "1".
void showStartTextUnselected(QComboBox& box);

// The four line-setting boxes' lists, as the main window's are, each box
// editable so a value off the list can be typed.
void fillLineSettingBoxes(QComboBox& baud, QComboBox& parity, QComboBox& dataBits, QComboBox& stopBits);

// The serial devices the system lists, each by its path and what the system
// calls it ("/dev/ttyUSB0 — USB-Serial Controller"), then com1 to com16;
// editable, so any path can be typed.
void fillPortBox(QComboBox& box);
// The port a port box names: a listed entry's path or comN, or the text as typed.
QString portBoxText(const QComboBox& box);
// Shows `port` as its listed entry when it has one, or as typed.
void setPortBoxText(QComboBox& box, const QString& port);

}  // namespace lumadot
