#pragma once

// The workbench's output box: a run's text as the box shows it, and where
// each glyph's text stands in it, so a glyph picked in the dots is picked in
// the text, and the cursor in the text picks its glyph in the dots.

#include <QPlainTextEdit>
#include <utility>
#include <vector>

namespace lumadot {

struct WorkbenchOutput;
struct WorkbenchSettings;

class OutputBox final : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit OutputBox(QWidget* parent = nullptr);

  // The output of a run of `shown`; empty for a failed one.
  void showOutput(const WorkbenchOutput& output, const WorkbenchSettings& shown);
  // Where the user would save the output shown, asked in a dialog named for its format; empty for nowhere.
  QString askSavePath();
  // Selects glyph `index`'s text and scrolls to it, without telling cursorOnGlyph.
  void pickGlyph(int index);

 signals:
  // The glyph whose text the cursor moved into; -1 outside every glyph's.
  void cursorOnGlyph(int index);

 private:
  void cursorMoved();

  std::vector<std::pair<int, int>> m_glyphSpans;  // each glyph's text in the box
  QString m_suffix = QStringLiteral("txt");       // of a file holding the output shown
};

}  // namespace lumadot
