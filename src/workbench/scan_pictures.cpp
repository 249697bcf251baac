#include "workbench/scan_pictures.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <vector>

namespace lumadot {
namespace {

constexpr Dots kGlyph{16, 16};

// The context lupdate files these words under.
struct ScanPictures {
  Q_DECLARE_TR_FUNCTIONS(ScanPictures)
};

// Each group's rectangle in dots, in the order the scan takes them: the
// place of its first dot is where bytePlace puts byte n's high bit's dot.
std::vector<QRectF> groupsInOrder(Scan scan) {
  const bool columns = scansColumns(scan);
  std::vector<QRectF> groups(glyphSize(kGlyph, scan));
  for (int y = 0; y < kGlyph.height; y += columns ? 8 : 1) {
    for (int x = 0; x < kGlyph.width; x += columns ? 1 : 8) {
      const BytePlace place = bytePlace(kGlyph, {scan, false, false}, x, y);
      groups[place.byte] = columns ? QRectF(x, y, 1, 8) : QRectF(x, y, 8, 1);
    }
  }
  return groups;
}

void drawArrowHead(QPainter& painter, QPointF from, QPointF to, qreal size) {
  const QPointF d = to - from;
  const qreal length = std::hypot(d.x(), d.y());
  if (length == 0) return;
  const QPointF along = d / length * size, across(-along.y() / 2, along.x() / 2);
  painter.setBrush(painter.pen().color());
  painter.drawPolygon(QPolygonF({to, to - along + across, to - along - across}));
}

}  // namespace

QPixmap scanOrderPicture(Scan scan, int side) {
  QPixmap picture(side, side);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  const qreal unit = qreal(side) / kGlyph.width;
  const std::vector<QRectF> groups = groupsInOrder(scan);
  QPolygonF path;
  for (std::size_t n = 0; n < groups.size(); ++n) {
    const QRectF cell(groups[n].topLeft() * unit, groups[n].size() * unit);
    const int shade = 230 - static_cast<int>(150 * n / (groups.size() - 1));
    painter.fillRect(cell.adjusted(0, 0, -0.5, -0.5), QColor(shade, shade, 255));
    path << cell.center();
  }
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0xC0, 0x20, 0x10), std::max(1.0, side / 48.0)));
  painter.drawPolyline(path);
  drawArrowHead(painter, path[path.size() - 2], path.back(), std::max(4.0, side / 8.0));
  return picture;
}

QString scanWords(Scan scan) {
  switch (scan) {
    case Scan::rows: return ScanPictures::tr("横向逐行");
    case Scan::rowBands: return ScanPictures::tr("横向分带（8点宽的带逐带逐行）");
    case Scan::columns: return ScanPictures::tr("纵向逐列");
    case Scan::columnBands: return ScanPictures::tr("纵向分带（8点高的带逐带逐列）");
  }
  return {};
}

QString layoutWords(const ByteLayout& layout) {
  return ScanPictures::tr("%1，%2，%3")
      .arg(scanWords(layout.scan), layout.lsbFirst ? ScanPictures::tr("低位在前") : ScanPictures::tr("高位在前"),
           layout.negative ? ScanPictures::tr("0为亮（反色）") : ScanPictures::tr("1为亮"));
}

}  // namespace lumadot
