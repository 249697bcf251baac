#include "widgets/typed_text.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace lumadot {

std::u16string windowsText(const QPlainTextEdit& box) {
  std::u16string text;
  for (const QChar c : box.document()->toRawText()) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
      text += u"\r\n";
    } else {
      text += c.unicode();
    }
  }
  return text;
}

}  // namespace lumadot
