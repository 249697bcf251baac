#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/result.h"
#include "extract/byte_layout.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace lumadot {

class DotView;

// "从固件字节识别": the layout a firmware's glyph bytes are in, found from
// the bytes pasted as its source spells them and the characters they are,
// by comparing what they draw in every layout with our glyphs of them.
class DetectDialog final : public QDialog {
  Q_OBJECT

 public:
  // Our glyphs of `characters`, in the window's font and size.
  using OurGlyphs = std::function<Result<std::vector<GlyphPicture>>(const std::u16string& characters)>;

  explicit DetectDialog(OurGlyphs ourGlyphs, QWidget* parent = nullptr);

  // The layout found, once "应用" can be pressed; the default layout before.
  ByteLayout chosenLayout() const { return m_found.value_or(ByteLayout{}); }
  // Whether the bytes told a layout clearly enough to apply it.
  bool found() const { return m_found.has_value(); }

 private:
  void detect();

  OurGlyphs m_ourGlyphs;
  QPlainTextEdit* m_bytes;
  QLineEdit* m_characters;
  QLabel* m_verdict;
  DotView* m_picture;
  QPushButton* m_apply;
  std::optional<ByteLayout> m_found;
};

}  // namespace lumadot
