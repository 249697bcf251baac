#include "workbench/output_box.h"

#include <algorithm>

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

// Where each span stands in the box, which holds `text` as UTF-16 with a line break for each CR LF.
std::vector<std::pair<int, int>> boxSpans(const std::string& text, const GlyphSpans& spans) {
  std::vector<std::size_t> offsets;
  for (const TextSpan& span : spans) offsets.insert(offsets.end(), {span.begin, span.end});
  std::ranges::sort(offsets);
  offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
  std::vector<int> positions;
  positions.reserve(offsets.size());
  int position = 0;
  std::size_t at = 0;
  for (const std::size_t offset : offsets) {
    for (; at < offset && at < text.size(); ++at) {
      const auto byte = static_cast<unsigned char>(text[at]);
      const bool crBeforeLf = byte == '\r' && at + 1 < text.size() && text[at + 1] == '\n';
      if (byte >= 0xF0) {
        position += 2;  // a surrogate pair
      } else if ((byte & 0xC0) != 0x80 && !crBeforeLf) {
        ++position;
      }
    }
    positions.push_back(position);
  }
  const auto positionOf = [&](std::size_t offset) {
    return positions[static_cast<std::size_t>(std::ranges::lower_bound(offsets, offset) - offsets.begin())];
  };
  std::vector<std::pair<int, int>> box;
  for (const TextSpan& span : spans) box.emplace_back(positionOf(span.begin), positionOf(span.end));
  return box;
}

}  // namespace

OutputBox::OutputBox(QWidget* parent) : QPlainTextEdit(parent) {
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, &OutputBox::cursorMoved);
}

void OutputBox::showOutput(const WorkbenchOutput& output, const WorkbenchSettings& shown) {
  m_suffix = fileSuffix(shown.output.format, shown.output.subset);
  if (output.failure) {
    clear();
    return;
  }
  setPlainText(displayed(output.shown.text));
  m_glyphSpans = boxSpans(output.shown.text, output.shown.glyphSpans);
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
