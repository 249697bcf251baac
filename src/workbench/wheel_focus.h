#pragma once

// The workbench's controls sit in a scroll area: a wheel turned over a box
// on the way down the page would change the box instead of moving the page.

class QWidget;

namespace lumadot {

// Every combo box and spin box under `area` takes the wheel only once it has
// focus (a click or Tab gives it, the wheel does not); until then the wheel
// goes on to the scroll area around it.
void wheelOnlyWhenFocused(QWidget& area);

}  // namespace lumadot
