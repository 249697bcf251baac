#include "about/form3.h"

#include <QPushButton>

#include "ui_form3.h"

namespace lumadot {

Form3::Form3(QWidget* mainWindow) : SecondaryWindow(mainWindow), m_ui(std::make_unique<Ui::Form3>()) {
  m_ui->setupUi(this);
  fixFrame();
  connect(m_ui->Command1, &QPushButton::clicked, this, &Form3::enableMainWindowAndClose);
  m_ui->Command1->setFocus();
}

Form3::~Form3() = default;

}  // namespace lumadot
