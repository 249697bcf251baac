#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "extract/byte_layout.h"
#include "extract/glyphs.h"
#include "preview/dot_picture.h"

namespace lumadot {

// A run's glyphs as the sign lights them, at any zoom, for a QScrollArea:
// hovering a dot names the byte and bit it goes in, a click picks a glyph.
// While a sign is simulated it shows the sign's panel instead.
class DotView final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinZoom = 1;
  static constexpr int kMaxZoom = 40;

  explicit DotView(QWidget* parent = nullptr);

  // What is shown: the glyphs drawn in `layout`. Ends a panel, and the pick.
  void setGlyphs(const Glyphs& glyphs, const ByteLayout& layout);
  // A sign panel while simulating, until setGlyphs.
  void showPanel(const DotPicture& panel);
  bool showingPanel() const { return m_panel.has_value(); }

  // Pixels per dot, kMinZoom..kMaxZoom; Ctrl+wheel and the +/- keys change it.
  void setZoom(int pixelsPerDot);
  int zoom() const { return m_zoom; }

  // -1: none. The picked glyph is outlined.
  void setPicked(int glyphIndex);
  int picked() const { return m_picked; }

  // Dot (x, y) of the run's picture: its glyph, the byte (from 1) and bit it
  // goes in and that byte's value, e.g. "「中」第5字节，位3：0x1F"; empty outside.
  QString dotText(int x, int y) const;
  // The glyph whose columns hold column x of the run's picture, or -1.
  int glyphAt(int x) const;

  QSize sizeHint() const override;

 signals:
  void glyphPicked(int glyphIndex);
  void hovered(const QString& text);
  void zoomChanged(int pixelsPerDot);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const DotPicture& shown() const { return m_panel ? *m_panel : m_picture; }
  QString textAt(QPoint position) const;
  void fitSize();
  void paintPicked(QPainter& painter) const;

  Glyphs m_glyphs;
  ByteLayout m_layout;
  DotPicture m_picture;                // m_glyphs drawn in m_layout
  std::optional<DotPicture> m_panel;  // set while a sign is simulated
  int m_zoom = 8;
  int m_picked = -1;
  QString m_hovered;
};

}  // namespace lumadot
