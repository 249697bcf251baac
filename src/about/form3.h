#pragma once

#include <memory>

#include "about/secondary_window.h"

namespace Ui {
class Form3;
}

namespace lumadot {

// The usage window: how to use the program, and "确定".
class Form3 final : public SecondaryWindow {
  Q_OBJECT

 public:
  explicit Form3(QWidget* mainWindow);
  ~Form3() override;

 private:
  std::unique_ptr<Ui::Form3> m_ui;
};

}  // namespace lumadot
