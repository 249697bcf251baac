#pragma once

// The About window (Form2), the usage window (Form3), both secondary windows
// that disable the main window while open, and the contact links they open.


#include <memory>

#include "about/contact_actions.h"
#include "about/secondary_window.h"

namespace Ui {
class Form2;
}

namespace lumadot {

// The About window: the team's credit and two ways to contact it.
class Form2 final : public SecondaryWindow {
  Q_OBJECT

 public:
  Form2(QWidget* mainWindow, ContactActions actions);
  ~Form2() override;

 private:
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void showUnopenedLink(const QString& link);

  std::unique_ptr<Ui::Form2> m_ui;
  ContactActions m_actions;
};

}  // namespace lumadot
