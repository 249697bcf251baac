#pragma once

#include <QWidget>
#include <vector>

#include "preview/dot_picture.h"

class QPainter;

namespace lumadot {

// The sign's face: a DotPicture as round LEDs on black, as large as the
// widget allows without stretching the dots, with a grey line down the gap
// where two modules of a chain meet.
class LedPanel final : public QWidget {
  Q_OBJECT

 public:
  explicit LedPanel(QWidget* parent = nullptr);

  void setPicture(DotPicture picture);
  const DotPicture& picture() const { return m_picture; }
  // The columns a module starts at (moduleSeams).
  void setSeams(std::vector<int> seams);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void paintSeams(QPainter& painter, QPointF origin, qreal pitch) const;

  DotPicture m_picture;
  std::vector<int> m_seams;
};

}  // namespace lumadot
