#pragma once

#include <QWidget>

#include "preview/dot_picture.h"

namespace lumadot {

// The sign's face: a DotPicture as round LEDs on black, as large as the
// widget allows without stretching the dots.
class LedPanel final : public QWidget {
  Q_OBJECT

 public:
  explicit LedPanel(QWidget* parent = nullptr);

  void setPicture(DotPicture picture);
  const DotPicture& picture() const { return m_picture; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  DotPicture m_picture;
};

}  // namespace lumadot
