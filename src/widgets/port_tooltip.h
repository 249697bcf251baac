#pragma once

#include <QString>

namespace lumadot {

// Which device each of com1 to com16 stands for, for the port box's tooltip.
QString portToolTip();

}  // namespace lumadot
