#include "widgets/typed_text.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace lumadot {

std::u16string typedText(const QPlainTextEdit& box) {
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

std::u16string exactText(const QPlainTextEdit& box) {
  std::u16string text = box.document()->toRawText().toStdU16String();
  for (char16_t& c : text) {
    if (c == QChar::ParagraphSeparator) c = u'\n';
  }
  return text;
}

}  // namespace lumadot
