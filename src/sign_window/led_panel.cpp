#include "sign_window/led_panel.h"

#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <utility>
#include <vector>

#include "preview/png_image.h"
#include "sign/sign_player.h"

namespace lumadot {
namespace {

constexpr int kHintPitch = 4;        // pixels per dot when the layout asks what suits
constexpr qreal kLedFraction = 0.8;  // of the pitch; the rest is the dark gap between LEDs

QColor qtColour(PngColour colour) { return QColor(colour.red, colour.green, colour.blue); }

DotPicture darkPanel() { return DotPicture(std::vector<std::uint16_t>(kDefaultPanelColumns)); }

}  // namespace

LedPanel::LedPanel(QWidget* parent) : QWidget(parent), m_picture(darkPanel()) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LedPanel::setSeams(std::vector<int> seams) {
  if (seams == m_seams) return;
  m_seams = std::move(seams);
  update();
}

void LedPanel::setPicture(DotPicture picture) {
  if (picture == m_picture) return;  // a still effect repaints nothing
  m_picture = std::move(picture);
  update();
}

QSize LedPanel::sizeHint() const {
  return {std::max(1, m_picture.width()) * kHintPitch, DotPicture::kSignHeight * kHintPitch};
}

void LedPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), qtColour(kDotGapColour));
  const int columns = std::max(1, m_picture.width());
  const qreal pitch = std::min(qreal(width()) / columns, qreal(height()) / DotPicture::kSignHeight);
  if (pitch <= 0) return;
  const QPointF origin((width() - pitch * columns) / 2, (height() - pitch * DotPicture::kSignHeight) / 2);
  const qreal diameter = pitch * kLedFraction;
  const QColor lit = qtColour(kLitDotColour);
  const QColor dark = qtColour(kDarkDotColour);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  for (int x = 0; x < m_picture.width(); ++x) {
    for (int y = 0; y < DotPicture::kSignHeight; ++y) {
      painter.setBrush(m_picture.lit(x, y) ? lit : dark);
      const QPointF corner = origin + QPointF(x * pitch, y * pitch);
      painter.drawEllipse(QRectF(corner, QSizeF(diameter, diameter)));
    }
  }
  paintSeams(painter, origin, pitch);
}

// Whole pixels, at least one wide, so the line stays sharp and shows at any pitch.
void LedPanel::paintSeams(QPainter& painter, QPointF origin, qreal pitch) const {
  const qreal gap = pitch * (1 - kLedFraction);
  const int top = qFloor(origin.y());
  const int height = qCeil(origin.y() + pitch * DotPicture::kSignHeight) - top;
  for (const int seam : m_seams) {
    if (seam <= 0 || seam >= m_picture.width()) continue;
    const int left = qFloor(origin.x() + seam * pitch - gap);
    painter.fillRect(QRect(left, top, std::max(1, qRound(gap)), height), qtColour(kSeamColour));
  }
}

}  // namespace lumadot
