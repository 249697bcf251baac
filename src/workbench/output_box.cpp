#include "workbench/output_box.h"

#include <QFileDialog>
#include <QSignalBlocker>
#include <QTextCursor>

#include "workbench/qt_strings.h"
#include "workbench/workbench_run.h"

namespace lumadot {
namespace {

QString displayed(const std::string& text) { return qs(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

QString fileSuffix(OutputFormat format, bool subset) {
  switch (format) {
    case OutputFormat::listing: return QStringLiteral("txt");
    case OutputFormat::a51: return QStringLiteral("a51");
    case OutputFormat::as31:
    case OutputFormat::sdas: return QStringLiteral("asm");
    case OutputFormat::c51:
    case OutputFormat::sdcc: return QStringLiteral("c");
    case OutputFormat::bin: return subset ? QStringLiteral("c") : QStringLiteral("bin");
    case OutputFormat::hex: return QStringLiteral("hex");
  }
  return QStringLiteral("txt");
}

// Where glyph k's text starts and ends in the output box: from its header line to the next glyph's or
// the end; the bytes' lines for the hex views.
std::vector<std::pair<int, int>> glyphSpans(const QString& box, const Glyphs& glyphs, OutputFormat format) {
  std::vector<std::pair<int, int>> spans;
  if (format == OutputFormat::bin || format == OutputFormat::hex) {
    const int lineLength = static_cast<int>(box.indexOf(QLatin1Char('\n')) + 1);
    for (const Glyph& g : glyphs.glyphs) {
      spans.emplace_back(static_cast<int>(g.offset / 16) * lineLength,
                         static_cast<int>((g.offset + g.size + 15) / 16) * lineLength - 1);
    }
    return spans;
  }
  qsizetype from = 0;
  for (const Glyph& g : glyphs.glyphs) {
    const QString header = QStringLiteral("--------") + qs(g.character) + QStringLiteral("--------");
    const qsizetype at = box.indexOf(header, from);
    if (at < 0) return {};
    const qsizetype start = box.lastIndexOf(QLatin1Char('\n'), at) + 1;
    if (!spans.empty()) spans.back().second = static_cast<int>(start);
    spans.emplace_back(static_cast<int>(start), static_cast<int>(box.size()));
    from = at + header.size();
  }
  return spans;
}

}  // namespace

OutputBox::OutputBox(QWidget* parent) : QPlainTextEdit(parent) {
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &OutputBox::cursorMoved);
}

void OutputBox::showOutput(const WorkbenchOutput& output, const WorkbenchSettings& shown) {
  m_suffix = fileSuffix(shown.format, shown.subset);
  if (output.failure) {
    clear();
    return;
  }
  const QString box = displayed(output.text);
  setPlainText(box);
  m_glyphSpans = shown.subset ? std::vector<std::pair<int, int>>{} : glyphSpans(box, output.glyphs, shown.format);
}

QString OutputBox::askSavePath() {
  return QFileDialog::getSaveFileName(this, tr("保存输出"), QStringLiteral("glyphs.") + m_suffix,
                                      tr("*.%1 文件 (*.%1);;所有文件 (*)").arg(m_suffix));
}

void OutputBox::pickGlyph(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= m_glyphSpans.size()) return;
  const auto [from, to] = m_glyphSpans[static_cast<std::size_t>(index)];
  QTextCursor cursor(document());
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  const QSignalBlocker quiet(this);
  setTextCursor(cursor);
  ensureCursorVisible();
}

void OutputBox::cursorMoved() {
  const int at = textCursor().position();
  for (std::size_t i = 0; i < m_glyphSpans.size(); ++i) {
    if (at >= m_glyphSpans[i].first && at < m_glyphSpans[i].second) {
      emit cursorOnGlyph(static_cast<int>(i));
      return;
    }
  }
  emit cursorOnGlyph(-1);
}

}  // namespace lumadot
