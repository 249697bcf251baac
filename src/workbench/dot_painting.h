#pragma once

#include <QPainter>
#include <QRect>
#include <algorithm>

#include "preview/png_image.h"

namespace lumadot {

// Dots of a `columns` x `rows` picture at `zoom` pixels each, only those in
// `exposed`, so a run thousands of columns wide repaints as fast as a glyph:
// round LEDs at a zoom where a circle reads as one, squares below it, with a
// thin grid between the dots at large zooms.
template <class Lit>
void paintDots(QPainter& painter, const QRect& exposed, int zoom, int columns, int rows, Lit lit) {
  constexpr int kRoundFrom = 5;  // pixels per dot
  constexpr int kGridFrom = 12;
  const QColor on(kLitDotColour.red, kLitDotColour.green, kLitDotColour.blue);
  const QColor off(kDarkDotColour.red, kDarkDotColour.green, kDarkDotColour.blue);
  painter.fillRect(exposed, QColor(kDotGapColour.red, kDotGapColour.green, kDotGapColour.blue));
  const int x0 = std::max(0, exposed.left() / zoom), x1 = std::min(columns - 1, exposed.right() / zoom);
  const int y0 = std::max(0, exposed.top() / zoom), y1 = std::min(rows - 1, exposed.bottom() / zoom);
  const bool round = zoom >= kRoundFrom;
  const int gap = zoom >= kGridFrom ? 1 : 0;
  painter.setPen(Qt::NoPen);
  painter.setRenderHint(QPainter::Antialiasing, round);
  for (int x = x0; x <= x1; ++x) {
    for (int y = y0; y <= y1; ++y) {
      const QRect cell(x * zoom, y * zoom, zoom - gap, zoom - gap);
      const QColor& colour = lit(x, y) ? on : off;
      if (round) {
        painter.setBrush(colour);
        painter.drawEllipse(QRectF(cell).adjusted(0.5, 0.5, -0.5, -0.5));
      } else {
        painter.fillRect(cell, colour);
      }
    }
  }
  if (gap == 0) return;
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QColor(0x30, 0x30, 0x30));
  for (int x = x0; x <= x1 + 1; ++x) painter.drawLine(x * zoom - 1, y0 * zoom, x * zoom - 1, (y1 + 1) * zoom - 1);
  for (int y = y0; y <= y1 + 1; ++y) painter.drawLine(x0 * zoom, y * zoom - 1, (x1 + 1) * zoom - 1, y * zoom - 1);
}

}  // namespace lumadot
