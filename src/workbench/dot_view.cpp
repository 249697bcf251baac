#include "workbench/dot_view.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

#include "extract/glyph_entries.h"
#include "workbench/dot_painting.h"

namespace lumadot {

DotView::DotView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void DotView::setGlyphs(const Glyphs& glyphs, const ByteLayout& layout) {
  m_glyphs = glyphs;
  m_layout = layout;
  m_picture = drawGlyphs(glyphEntries(m_glyphs), m_layout);
  m_panel.reset();
  m_picked = -1;
  fitSize();
  update();
}

void DotView::showPanel(const DotPicture& panel) {
  const bool resized = !m_panel || m_panel->width() != panel.width() || m_panel->height() != panel.height();
  m_panel = panel;
  if (resized) fitSize();
  update();
}

void DotView::setZoom(int pixelsPerDot) {
  const int zoom = std::clamp(pixelsPerDot, kMinZoom, kMaxZoom);
  if (zoom == m_zoom) return;
  m_zoom = zoom;
  fitSize();
  update();
  emit zoomChanged(m_zoom);
}

void DotView::setPicked(int glyphIndex) {
  const int picked = glyphIndex >= 0 && glyphIndex < static_cast<int>(m_glyphs.glyphs.size()) ? glyphIndex : -1;
  if (picked == m_picked) return;
  m_picked = picked;
  update();
}

int DotView::glyphAt(int x) const {
  const std::vector<int>& starts = m_picture.glyphStarts();
  if (x < 0 || x >= m_picture.width() || starts.empty()) return -1;
  return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), x) - starts.begin()) - 1;
}

QString DotView::dotText(int x, int y) const {
  const int index = glyphAt(x);
  if (index < 0) return {};
  const Glyph& glyph = m_glyphs.glyphs[static_cast<std::size_t>(index)];
  const Dots dots = m_glyphs.dots(glyph);
  const int column = x - m_picture.glyphStarts()[static_cast<std::size_t>(index)];
  if (y < 0 || y >= dots.height || column >= dots.width) return {};
  const BytePlace place = bytePlace(dots, m_layout, column, y);
  if (place.byte >= glyph.size) return {};  // a glyph cut short has no byte there
  const unsigned value = m_glyphs.bytes[glyph.offset + place.byte];
  return tr("「%1」第%2字节，位%3：0x%4")
      .arg(QString::fromStdU16String(glyph.character))
      .arg(place.byte + 1)
      .arg(place.bit)
      .arg(QString::number(value, 16).toUpper().rightJustified(2, u'0'));
}

void DotView::fitSize() {
  updateGeometry();
  // A scroll area sizes its widget by hand, not by layout.
  if (!parentWidget() || !parentWidget()->layout()) resize(sizeHint());
}

QSize DotView::sizeHint() const {
  const DotPicture& picture = shown();
  return {std::max(1, picture.width()) * m_zoom, std::max(1, picture.height()) * m_zoom};
}

QString DotView::textAt(QPoint position) const {
  if (m_panel || position.x() < 0 || position.y() < 0) return {};
  return dotText(position.x() / m_zoom, position.y() / m_zoom);
}

bool DotView::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString text = textAt(help->pos());
    if (text.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
  }
  return QWidget::event(event);
}

void DotView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const DotPicture& picture = shown();
  paintDots(painter, event->rect(), m_zoom, picture.width(), picture.height(),
            [&picture](int x, int y) { return picture.lit(x, y); });
  if (!m_panel) paintPicked(painter);
}

void DotView::paintPicked(QPainter& painter) const {
  if (m_picked < 0) return;
  const Glyph& glyph = m_glyphs.glyphs[static_cast<std::size_t>(m_picked)];
  const Dots dots = m_glyphs.dots(glyph);
  const int start = m_picture.glyphStarts()[static_cast<std::size_t>(m_picked)];
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x40, 0xC0, 0xFF), std::max(1, m_zoom / 6)));
  painter.drawRect(QRect(start * m_zoom, 0, dots.width * m_zoom - 1, dots.height * m_zoom - 1));
}

void DotView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || m_panel) return QWidget::mousePressEvent(event);
  const QPoint at = event->position().toPoint();
  const int index = at.y() < m_picture.height() * m_zoom ? glyphAt(at.x() / m_zoom) : -1;
  if (index < 0) return;
  setPicked(index);
  emit glyphPicked(index);
}

void DotView::mouseMoveEvent(QMouseEvent* event) {
  const QString text = textAt(event->position().toPoint());
  if (text != m_hovered) {
    m_hovered = text;
    emit hovered(text);
  }
  QWidget::mouseMoveEvent(event);
}

void DotView::leaveEvent(QEvent* event) {
  if (!m_hovered.isEmpty()) {
    m_hovered.clear();
    emit hovered(m_hovered);
  }
  QWidget::leaveEvent(event);
}

void DotView::wheelEvent(QWheelEvent* event) {
  // Without Ctrl the wheel scrolls the scroll area around the view.
  if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) return event->ignore();
  setZoom(m_zoom + (event->angleDelta().y() > 0 ? 1 : -1));
  event->accept();
}

void DotView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      setZoom(m_zoom + 1);
      break;
    case Qt::Key_Minus:
      setZoom(m_zoom - 1);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace lumadot
