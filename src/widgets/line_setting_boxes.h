#pragma once

class QComboBox;

namespace lumadot {

// A port or line-setting box as every window has it: its start text shown
// with no list entry selected, and completing nothing, since its text is
// taken whole and "1" must stay "1".
void showStartTextUnselected(QComboBox& box);

}  // namespace lumadot
