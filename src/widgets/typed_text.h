#pragma once

#include <string>

class QPlainTextEdit;

namespace lumadot {

// The text as a Windows text box holds it: CR LF between lines, and every
// other character as typed (toPlainText would turn no-break spaces into spaces).
std::u16string windowsText(const QPlainTextEdit& box);

}  // namespace lumadot
