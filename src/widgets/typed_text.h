#pragma once

#include <string>

class QPlainTextEdit;

namespace lumadot {

// The text as a Windows text box holds it typed: CR LF between lines, and
// every other character as it stands (toPlainText would turn no-break spaces
// into spaces). Text piped to the command line reads the same (options' typedText).
std::u16string typedText(const QPlainTextEdit& box);

// The text exactly as the box holds it, so putting it back (setPlainText)
// restores every character, line separators too; paragraph breaks become the
// line feeds setPlainText splits on.
std::u16string exactText(const QPlainTextEdit& box);

}  // namespace lumadot
